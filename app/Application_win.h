#pragma once
// The one application object of a run: it owns the settings, the language,
// the skin and the menus, and composes the main window (MainWindow_win.h), the
// notes document (NotesDocument_win.h), the main menu's commands
// (MainMenuCommands_win.h), the tray icon and the hot keys (TrayAndKeys_win.h),
// the sync through a folder (SyncController_win.h) and the settings dialog and
// the update check (SettingsAndUpdates_win.h), whose messages come to it
// through the main window. The restart loop (RestartLoop.h) builds one, runs
// the message loop and destroys it, and builds another while a restart is
// asked for.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainMenuCommands_win.h"
#include "app/MainWindow_win.h"
#include "app/NotesDocument_win.h"
#include "app/RestartLoop.h"
#include "app/ScriptCommand.h"
#include "app/SettingsAndUpdates_win.h"
#include "app/SyncController_win.h"
#include "app/TrayAndKeys_win.h"
#include "base/Handles_win.h"
#include "lang/LanguageTable.h"
#include "main/FindNotes_win.h"
#include "notes/NoteHost_win.h"
#include "skin/Skin_win.h"
#include "store/AppSettings.h"
#include "store/SaveWatch.h"
#include "store/NoteData.h"
#include "store/SettingsStore.h"

namespace Arrange {
class MonitorSource;
}
namespace RecycleBin {
struct BinEntry;
}
struct NotesFileData;

class Application : public MainWindowOwner,
                    public NoteHost,
                    public SyncController::Owner,
                    public TrayAndKeys::Owner,
                    public SettingsAndUpdates::Owner,
                    public MainMenuCommands::Owner {
public:
    // Sets startFailed on entry and clears it as the last step, so a
    // construction that cannot complete leaves it set. restartRequested is
    // kept by reference and set when the run is to be followed by a new one.
    // Once it stands, the application opens the options' file and runs their
    // command.
    Application(bool& restartRequested, bool& startFailed, const StartOptions& options);
    ~Application() override;

    // Reads a text file whole and makes a note of its text; a file that cannot
    // be read is ignored.
    void OpenTextFileAsNote(const std::wstring& path, bool placeNearMain) override;

    // NoteHost
    const Skin& NoteSkin() const override { return skin; }
    const AppSettings& Settings() const override { return settings; }
    bool LayeredWindows() const override { return layeredWindows; }
    HMENU NoteMenu() const override { return noteMenu ? GetSubMenu(noteMenu.Get(), 0) : nullptr; }
    const LanguageTable& Language() const override { return language; }
    SkinnedWindows& Windows() override { return skinnedWindows; }
    const std::vector<std::unique_ptr<NoteWindow>>& Notes() const override {
        return document->List();
    }
    void CloseNote(NoteWindow& note) override { document->CloseNote(note); }
    void NotesChanged() override { document->Changed(); }
    void ActivateNextNote(NoteWindow* note) override;
    NoteWindow* CreateNote(const std::wstring& text, bool startEditing,
                           bool placeNearMain) override;
    std::wstring RecycleBinPath() const override { return recycleBinPath; }
    void OnAlarmFired(NoteWindow& note) override;

    // Reads Notes.dat and makes its notes. Records whose window cannot be
    // made are kept and saved with the others; the user is told how many.
    void LoadNotes();
    // The notes, their file and its saving.
    NotesDocument& Document() { return *document; }
    const NotesDocument& Document() const { return *document; }
    // How LoadNotes makes each note; tests give one that fails on purpose.
    // Empty: std::make_unique<NoteWindow>(*this, layered, record).
    void SetNoteMaker(LoadedNoteMaker maker) { document->SetNoteMaker(std::move(maker)); }
    // How many loaded notes get a window; 0 for the system's quota.
    void SetNoteWindowLimit(size_t limit) { document->SetNoteWindowLimit(limit); }
    // The records of this run that have no window, in file order.
    const std::vector<NoteData>& UnshownNotes() const { return document->UnshownNotes(); }
    const std::wstring& NotesFilePath() const { return document->FilePath(); }
    // Every way out of a run (exit, the end of the session, a restart) comes
    // here: the notes are written, typing included, before anything closes.
    void SaveBeforeLeaving() { document->Flush(); }
    void SetCustomDefaultFont(const LOGFONTW& font) override;

    // The settings dialog and the update check.
    SettingsAndUpdates& Preferences() { return *preferences; }

    // Opens the main menu at the cursor, brought up to date first.
    void ShowMainMenu(bool fromTray);
    // Shows or hides every note that is not hidden on its own.
    void ToggleNotesShown();
    // Raises every shown note above other windows (the excepted one stays).
    void BringNotesToTop(NoteWindow* except, bool activate) override;

    // Ends this run and starts the next in the same process, which reads the
    // language, skin and colour theme afresh (for the main menu's commands and
    // for the settings dialog alike).
    void Restart() override;
    // The main menu's commands but for the run's own dialogs and windows.
    MainMenuCommands& Commands() { return *commands; }
    // A command of the command line for scripts, from this process's start or
    // handed over by a second one (ScriptCommands_win.cpp).
    void RunScriptCommand(const ScriptCommand& command);

    bool NotesShown() const override { return notesShown; }
    HMENU MainMenu() const { return mainMenu.Get(); }
    uint32_t ColorThemeIndex() const { return settings.skinColorThemeIndex; }
    // The user chose the colour theme; otherwise it follows Windows' light or
    // dark apps.
    bool ColorThemeChosen() const override { return colorThemeChosen; }
    void KeepColorThemeChosen() override { colorThemeChosen = true; }
    bool PlaceNearTray() const override { return placeNearTray; }
    const TrayAndKeys& TrayAndHotKeys() const { return *trayAndKeys; }

    // The skinned main window, which every dialog of the program is owned by.
    MainWindow& Main() { return *mainWindow; }
    const MainWindow& Main() const { return *mainWindow; }

    // MainWindowOwner: the main menu's commands (ApplicationCommands_win.cpp)
    // and the messages of the tray icon, the hot keys, a second start and the
    // system (ApplicationMessages_win.cpp).
    bool OnMainWindowCommand(WORD notification, WORD id, HWND control) override;
    bool OnMainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnMainWindowButton() override;

    // Files that could not be written, backups and monitor changes
    // (SaveProblems_win.cpp, RestoreBackup_win.cpp, KeepNotesOnScreen_win.cpp).
    static constexpr UINT kSaveRetryMilliseconds = NotesDocument::kSaveRetryMilliseconds;
    // Monitor changes come as bursts of messages, and the work areas settle
    // only after the first of them.
    static constexpr UINT kDisplayChangeDelay = 400;
    // True while the last write of Notes.dat or Settings.ini failed.
    bool SavesFailing() const { return document->AnyFailing(); }
    // Keeps the current notes as a backup, then loads the given backup in
    // their place. False, with the user told why, when any step fails; the
    // notes are then as they were.
    bool RestoreNotesFromBackup(const std::wstring& backupPath);
    void ShowRestoreBackupDialog();
    // Lists the recycle bin's notes newest first; the chosen one comes back as
    // a new note and, once it is saved, leaves the bin (RestoreNote_win.cpp).
    void ShowRestoreNoteDialog();
    bool RestoreNoteFromBin(const RecycleBin::BinEntry& entry);
    // Opens the Find notes window or brings it to the front; words, when
    // given, go into its search box (FindNotes_win.cpp).
    void OpenFindNotes(const std::wstring* words);
    FindNotesWindow* FindNotes() const { return findNotes.get(); }
    // Moves every note that lies on no monitor onto the nearest work area and
    // saves once when any moved.
    void BringNotesOntoMonitors();
    // For tests: where the monitors are read from; null for the system's.
    void SetMonitorSource(const Arrange::MonitorSource* source) {
        document->SetMonitorSource(source);
    }

    // Sync through a folder: off unless the settings turn it on.
    SyncController& Sync() { return *sync; }

private:
    // The skinned windows of this run, before every window it owns.
    SkinnedWindows skinnedWindows;
    // SettingsAndUpdates::Owner (ApplicationCommands_win.cpp).
    void OpenDownload(const std::wstring& url) override;

    void LoadSkin();
    // TrayAndKeys::Owner (ApplicationMessages_win.cpp).
    void OnTrayOrKeyRequest(TrayAndKeys::Request request) override;
    // Brings the note of the last alarm notification, if it still exists.
    void ShowAlarmNote();
    void OnKeyDown(WPARAM key);
    void OnEndSession();
    void CloseAllNotes();
    // Destroys the window once no modal loop runs on a closed note or on the
    // main menu; until then it looks again on a timer.
    void FinishClose();
    bool AnyNoteBusy() const;
    // Windows' apps turned light or dark: a theme that follows them changes
    // (by a restart, as any change of theme), once no note is being edited.
    void FollowSystemColorMode();
    // True when the message is to go no further (an exit the user called off).
    bool OnSafetyMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Asks before an exit would lose notes that cannot be saved.
    bool MayCloseWithUnsavedNotes();
    void OnSettingsWriteResult(bool written);
    LoadedNoteMaker DefaultNoteMaker();

    OwnedMenu mainMenu;
    OwnedMenu noteMenu;
    std::unique_ptr<SettingsStore> skinStore;
    std::unique_ptr<SettingsStore> settingsStore;
    std::wstring programFolder;
    std::wstring skinFolder;
    bool notesShown = true;
    Skin skin;
    bool colorThemeChosen = false;
    bool placeNearTray = false;
    AppSettings settings;
    bool layeredWindows = true;
    std::wstring recycleBinPath;
    // Files handed over by later starts, opened one at a time.
    HandOverQueue handOvers;
    bool& restartRequested;
    // The texts of this run's language, read once at the start.
    LanguageTable language;
    // The window is destroyed by the destructor rather than closed: the loop
    // has ended already, and a quit message now would end the next run's.
    bool destroyedByDestructor = false;
    // After the settings store, which it writes, and before the document,
    // whose notes it owns.
    std::unique_ptr<MainWindow> mainWindow;
    // Made once the main window stands, whose messages it is forwarded.
    std::unique_ptr<TrayAndKeys> trayAndKeys;
    // After the tray icon and the hot keys, whose keys it releases while its
    // dialog is open.
    std::unique_ptr<SettingsAndUpdates> preferences;
    // The session ends: no question may hold up the exit.
    bool sessionEnding = false;
    // After the skin and the settings: the notes go before what they draw with.
    std::unique_ptr<NotesDocument> document;
    // The note of the last alarm notification, which a click on it brings.
    const NoteWindow* alarmNotified = nullptr;
    std::unique_ptr<FindNotesHost> findNotesHost;
    std::unique_ptr<FindNotesWindow> findNotes;
    // Made with the other parts once the main window stands.
    std::unique_ptr<MainMenuCommands> commands;
    // Goes first of all: it writes what is due while the window has its timers.
    std::unique_ptr<SyncController> sync;
};
