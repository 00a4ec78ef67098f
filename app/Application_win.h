#pragma once
// The one application object of a run: the main window, the settings, the
// skin, the menus and the list of notes. The entry point builds one, runs the
// message loop and destroys it, and builds another while a restart is asked for.

#include <windows.h>

#include <string>

class Application {
public:
    // Sets startFailed on entry and clears it as the last step, so a
    // construction that cannot complete leaves it set. restartRequested is
    // kept by reference and set when the run is to be followed by a new one.
    Application(bool& restartRequested, bool& startFailed);
    virtual ~Application();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Reads a text file whole and makes a note of its text; a file that cannot
    // be read is ignored.
    void OpenTextFileAsNote(const std::wstring& path, bool placeNearMain);

    // TODO(application): CreateNote, SaveNotes, LoadNotes, ActivateNextNote,
    // SetCustomDefaultFont, RegisterHotKeys, UnregisterHotKeys, the accessors,
    // and the main window itself (derived from the skinned small window).

private:
    bool& restartRequested;
};

// The message id of "TaskbarCreated", registered once per process; the main
// window adds its tray icon again when it arrives.
UINT TaskbarCreatedMessage();
