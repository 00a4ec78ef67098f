#pragma once
// The run of the first instance: an application object is built, runs the
// message loop and is destroyed, and a new one is built as long as the last
// one asked for a restart (a change of language or skin rebuilds everything
// in the same process).

#include <memory>
#include <string>
#include <utility>

// App is constructed from (bool& restartRequested, bool& startFailed); its
// constructor sets startFailed first and clears it as its last step. RunLoop()
// runs the message loop and returns the code of the quit message.
// ReportStartFailure() tells the user that the program could not start.
// Returns the code of the last quit message, 0 when no loop ran.
template <class App, class RunLoop, class ReportStartFailure>
int RunApplication(std::wstring commandLine, RunLoop&& runLoop,
                   ReportStartFailure&& reportStartFailure) {
    int exitCode = 0;
    bool restartRequested = false;
    do {
        restartRequested = false;
        bool startFailed = false;
        std::unique_ptr<App> app;
        try {
            app = std::make_unique<App>(restartRequested, startFailed);
        } catch (...) {
            // Out of memory or a failing library: the same as a construction
            // that did not reach its end.
            startFailed = true;
        }
        if (startFailed || !app) {
            reportStartFailure();
        } else {
            // Only the first application of the process opens the file.
            if (!commandLine.empty()) {
                app->OpenTextFileAsNote(commandLine, false);
                commandLine.clear();
            }
            exitCode = static_cast<int>(runLoop());
        }
        app.reset();
    } while (restartRequested);
    return exitCode;
}
