#pragma once
// The settings dialog and the update check of a run: the commands that open
// the dialog and start or cancel a check, the dialog's result (the settings
// applied, written to Settings.ini and to the Run value), and the check at
// start-up, which only the first run of the process makes and only as often
// as the day count allows.
//
// The messages come through the main window, which the owner forwards here.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "store/AppSettings.h"
#include "update/UpdateCheck_win.h"

class LanguageTable;
class MainWindow;
class NotesDocument;
class SettingsDialog;
class SettingsStore;
class SkinnedWindows;
class TrayAndKeys;

class SettingsAndUpdates {
public:
    // What only the run as a whole can do.
    class Owner {
    public:
        // The user applied a change that only a new run takes, and chose to
        // restart for it.
        virtual void Restart() = 0;
        // The download of a newer version, which the user chose to open.
        virtual void OpenDownload(const std::wstring& url) = 0;

    protected:
        ~Owner() = default;
    };

    // Every part outlives this. The dialog is owned by `mainWindow`, which
    // gets its result and the check's completion. What the dialog applies
    // reaches the windows at once: `skinnedWindows` take the translucency,
    // `notes` are drawn again (the date in their titles may have been
    // switched), and `hotKeys` are released while the dialog is open (its
    // hot-key fields get every key only then) and registered again after each
    // result. firstOfProcess: this is the first run of the process, the only
    // one that checks for updates at its start.
    SettingsAndUpdates(Owner& owner, AppSettings& settings, SettingsStore& settingsStore,
                       const LanguageTable& language, MainWindow& mainWindow,
                       SkinnedWindows& skinnedWindows, const NotesDocument& notes,
                       TrayAndKeys& hotKeys, bool firstOfProcess);
    // Cancels a check still running and closes the dialog.
    ~SettingsAndUpdates();
    SettingsAndUpdates(const SettingsAndUpdates&) = delete;
    SettingsAndUpdates& operator=(const SettingsAndUpdates&) = delete;

    // The main menu's General settings, Check for updates and Cancel check;
    // false when the command is none of these.
    bool OnCommand(WORD id);
    // The dialog's result message (kSettingsResultMessage).
    void OnDialogResult(WPARAM wParam, LPARAM lParam);
    // The check's completion message (kUpdateCheckDoneMessage).
    void OnUpdateCheckDone();

    // Brings the dialog up unless it is open already.
    void OpenDialog();
    // Checks now when this is the first run of the process, the settings ask
    // for a check at start-up and the day count has passed since the last.
    void StartupUpdateCheck();
    // A silent check reports only a newer version.
    void StartUpdateCheck(bool silent);
    void StopUpdateCheck();

    // The open dialog; null while it is closed.
    SettingsDialog* Dialog() const { return dialog.get(); }
    UpdateCheck& Updates() { return updateCheck; }
    // The dialog is open or a check exists: the main menu keeps the user from
    // leaving or opening another.
    bool Busy() const { return dialog || updateCheck.Running() || updateCheck.Exists(); }

    // Run at log-on goes through these; tests replace them.
    std::function<bool(bool on)> writeRunAtLogOn;
    std::function<bool()> readRunAtLogOn;

private:
    Owner& owner;
    AppSettings& settings;
    SettingsStore& settingsStore;
    const LanguageTable& language;
    MainWindow& mainWindow;
    SkinnedWindows& skinnedWindows;
    const NotesDocument& notes;
    TrayAndKeys& hotKeys;
    const bool firstOfProcess;
    UpdateCheck updateCheck;
    std::unique_ptr<SettingsDialog> dialog;
};
