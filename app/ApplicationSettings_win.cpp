// What the settings dialog and the update check (SettingsAndUpdates_win.h) ask
// of the run as a whole.

#include "app/Application_win.h"

void Application::RestartForSettings() {
    Restart();
}

void Application::OpenDownload(const std::wstring& url) {
    commands->OpenOrTell(url);
}
