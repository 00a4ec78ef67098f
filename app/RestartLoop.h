#pragma once
// The run of the first instance: an application object is built, runs the
// message loop and is destroyed, and a new one is built as long as the last
// one asked for a restart (a change of language or skin rebuilds everything
// in the same process).

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/ScriptCommand.h"

// What one application object is started with. The entry point fills it for
// the first start of the process; a restart gets the same data folder and
// nothing else.
struct StartOptions {
    // The first application of the process: only it runs the start-up update
    // check, opens the file and runs the command.
    bool firstOfProcess = true;
    // Replaces the per-user folder of Settings.ini and Notes.dat when not
    // empty; with a trailing separator.
    std::wstring dataFolder;
    // A text file to open as a note, a full path; empty for none.
    std::wstring fileToOpen;
    // A command of the command line for scripts, its paths made full.
    std::optional<ScriptCommand> command;

    // The options of the start that follows a restart.
    StartOptions ForRestart() const {
        StartOptions next;
        next.firstOfProcess = false;
        next.dataFolder = dataFolder;
        return next;
    }
};

// App is constructed from (bool& restartRequested, bool& startFailed,
// const StartOptions&); its constructor sets startFailed first and clears it
// as its last step. RunLoop() runs the message loop and returns the code of
// the quit message. ReportStartFailure() tells the user that the program could
// not start. Returns the code of the last quit message, 0 when no loop ran.
template <class App, class RunLoop, class ReportStartFailure>
int RunApplication(StartOptions options, RunLoop&& runLoop,
                   ReportStartFailure&& reportStartFailure) {
    int exitCode = 0;
    bool restartRequested = false;
    do {
        restartRequested = false;
        bool startFailed = false;
        std::unique_ptr<App> app;
        try {
            app = std::make_unique<App>(restartRequested, startFailed, options);
        } catch (...) {
            // Out of memory or a failing library: the same as a construction
            // that did not reach its end.
            startFailed = true;
        }
        if (startFailed || !app) {
            reportStartFailure();
        } else {
            exitCode = static_cast<int>(runLoop());
        }
        app.reset();
        options = options.ForRestart();
    } while (restartRequested);
    return exitCode;
}
