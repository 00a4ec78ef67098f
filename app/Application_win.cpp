#include "app/Application_win.h"

Application::Application(bool& restartRequested, bool& startFailed)
    : restartRequested(restartRequested) {
    startFailed = true;
    // TODO(application): program folder as current directory, settings store,
    // language, settings, main window, hot keys, tray icon, skin, menus, notes,
    // update check, snapping.

    // Without a main window nothing would ever end the message loop.
    PostQuitMessage(0);
    startFailed = false;
}

Application::~Application() {
    // TODO(application): button, background, hot keys, update check, settings
    // dialog, menus, stores, skin.
}

void Application::OpenTextFileAsNote(const std::wstring& path, bool placeNearMain) {
    // TODO(application): read the file and CreateNote with its text.
    (void)path;
    (void)placeNearMain;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
