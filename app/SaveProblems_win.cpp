// The main window's part in keeping files safe: an exit that would lose
// notes that cannot be written asks first, Settings.ini's failed writes are
// told as Notes.dat's are (NotesDocument_win.h), and monitor changes bring the
// notes back on screen.

#include "app/Application_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "ui/PrivateMessages_win.h"

bool Application::OnSafetyMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kDisplayChangeTimer) {
                KillTimer(mainWindow->Handle(), kDisplayChangeTimer);
                BringNotesOntoMonitors();
            }
            break;
        case WM_DISPLAYCHANGE:
            SetTimer(mainWindow->Handle(), kDisplayChangeTimer, kDisplayChangeDelay, nullptr);
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA)
                SetTimer(mainWindow->Handle(), kDisplayChangeTimer, kDisplayChangeDelay, nullptr);
            break;
        case WM_ENDSESSION:
            sessionEnding = wParam != 0;
            break;
        case WM_CLOSE:
            if (MayCloseWithUnsavedNotes()) return false;
            // The program goes on: so does this run, or the next exit would
            // start it again, and the window a restart hid comes back.
            if (restartRequested) {
                restartRequested = false;
                if (settings.mainWindowVisible) ShowWindow(mainWindow->Handle(), SW_SHOWNA);
            }
            return true;
        default:
            break;
    }
    return false;
}

bool Application::MayCloseWithUnsavedNotes() {
    if (settingsStore) settingsStore->RetryPendingWrites();
    // Every way out writes the notes while their windows still exist, typing
    // included; closing them afterwards writes nothing.
    if (document->Flush() || sessionEnding) return true;
    // Leaving now loses the notes' changes: the user decides, and the program
    // goes on running (and retrying) unless told otherwise.
    const std::wstring question =
        SafeFormat(language.TextOf(kSaveFailed_Exit), {document->FilePath()});
    return mainWindow->ShowMessage(question.c_str(), nullptr,
                                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void Application::OnSettingsWriteResult(bool written) {
    const DWORD error = GetLastError();
    if (document) document->RecordSettingsWrite(written, settingsStore->FilePath(), error);
}
