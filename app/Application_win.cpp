#include "app/Application_win.h"

#include <shlobj.h>

#include <algorithm>

#include "base/ProgramInfo.h"
#include "lang/LanguageTable.h"
#include "lang/Translate_win.h"
#include "main/OldNotes.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/DamagedFile.h"
#include "store/FileIo.h"
#include "store/Folders_win.h"
#include "store/NoteData_win.h"
#include "store/RecycleBin.h"
#include "store/TempFiles_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/ShellOpen_win.h"

namespace {

// The program folder is found once per process: a restart runs in the same
// executable.
const std::wstring& ProgramFolderOnce() {
    static const std::wstring folder = ProgramFolder();
    return folder;
}

// A settings file that is binary or absurdly large would be read in full for
// every key; it is kept as a dated backup and the program starts with defaults.
void SetAsideDamagedSettings(const std::wstring& path) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    SetAsideDamagedIni(path, FromSystemTime(now));
}

// The roaming application-data folder with a trailing separator.
std::wstring RoamingFolder() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) {
        return std::wstring();
    }
    return std::wstring(base) + L"\\";
}

// A language file that is gone (removed, or named by hand) would leave every
// text showing as its key; English is always installed.
std::wstring LanguageFilePath(const std::wstring& programFolder, const std::wstring& fileName) {
    const std::wstring folder = programFolder + L"Languages\\";
    if (FileIo::FileExists(folder + fileName)) return folder + fileName;
    return folder + AppSettings().languageFile;
}

}  // namespace

Application::Application(bool& restartRequested, bool& startFailed, const StartOptions& options)
    : restartRequested(restartRequested) {
    startFailed = true;

    // The process's current folder stays where the program was started: every
    // file of the program is named by a full path.
    programFolder = ProgramFolderOnce();
    const std::wstring& dataFolder = options.dataFolder;
    const std::wstring data = dataFolder.empty() ? AppDataFolder() : dataFolder;
    SetAsideDamagedSettings(data + L"Settings.ini");
    settingsStore = std::make_unique<SettingsStore>(data + L"Settings.ini");
    settingsStore->SetWriteObserver([this](bool written) { OnSettingsWriteResult(written); });

    // The language file is the first key read; an empty value counts as
    // missing there, so the language and the rest come from one reader.
    {
        SettingsStore::ReadBurst reads(*settingsStore);
        ReadAppSettings(*settingsStore, settings, [] { return IsRunAtLogOn(); });
    }
    const std::wstring languageFile = LanguageFilePath(programFolder, settings.languageFile);
    language.Load(languageFile);
    recycleBinPath = data + RecycleBin::RecycleBinFileName(language.TextOf(kRecycleBinFile));
    document = std::make_unique<NotesDocument>(data + L"Notes.dat", settings, language);
    document->retryOtherWrites = [this] { settingsStore->RetryPendingWrites(); };
    document->otherWritesPending = [this] { return settingsStore->HasPendingWrites(); };
    // Saves killed half-way in earlier runs left their temporary files here.
    RemoveStaleTempFiles(data);

    layeredWindows = settings.layeredWindowEnabled;
    // Before the first window: it starts at the chosen level, not the default.
    skinnedWindows.SetAlpha(settings.noteAlpha);

    // The main window, the tray icon and the hot keys, whose messages come
    // here (OnMainWindowMessage), and the notes, owned by the main window.
    mainWindow = std::make_unique<MainWindow>(*this, skinnedWindows, settings, *settingsStore);
    mainWindow->Open(layeredWindows, ProgramInfo::kProductName);
    document->SetOwnerWindow(mainWindow->Handle());
    // Sync starts once the notes are loaded: it takes them as they are then.
    sync = std::make_unique<SyncController>(*this, *this, *document, *settingsStore, language,
                                            *mainWindow);
    trayAndKeys = std::make_unique<TrayAndKeys>(*this, mainWindow->Handle(), settings.hotKeys,
                                                language.TextOf(kTrayIconToolTip));
    commands = std::make_unique<MainMenuCommands>(
        *this, *this, *document, settings, *settingsStore, language, *mainWindow, skin,
        (dataFolder.empty() ? RoamingFolder() : dataFolder) + OldNotes::kFolderName + L"\\");
    preferences = std::make_unique<SettingsAndUpdates>(*this, settings, *settingsStore, language,
                                                       *mainWindow, skinnedWindows, *document,
                                                       *trayAndKeys, options.firstOfProcess);

    notesShown = settings.showNotes;
    LoadSkin();
    mainWindow->ApplySkin(skin);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    mainMenu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    noteMenu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_NOTE_MENU)));
    if (mainMenu) TranslateMenu(mainMenu.Get(), language);
    if (noteMenu) TranslateMenu(noteMenu.Get(), language);

    // No note is loaded yet, so notes always start shown; a hidden state that
    // outlived the last run would leave the user with invisible notes.
    notesShown = true;
    mainWindow->ShowAsStored();

    LoadNotes();
    sync->Start();
    preferences->StartupUpdateCheck();

    mainWindow->EnableSnapping();
    startFailed = false;

    if (!options.fileToOpen.empty()) OpenTextFileAsNote(options.fileToOpen, false);
    if (options.command) {
        RunScriptCommand(*options.command);
        // A start only to show the usage ends after it.
        if (options.command->action == ScriptAction::Usage) mainWindow->Post(WM_COMMAND, IDM_EXIT);
    }
}

Application::~Application() {
    // A device file still due is written while the window still has its timers.
    sync.reset();
    if (trayAndKeys) trayAndKeys->UnregisterHotKeys();
    // Stops a check still running and closes the dialog.
    preferences.reset();
    mainMenu.Reset();
    noteMenu.Reset();
    // Notes still alive here (a construction that failed half-way) go before
    // the skin they draw with; the message loop has ended, so no dialog of a
    // note can be open.
    if (document) {
        // A run that ends without closing its window (the loop ended by a quit
        // from elsewhere) still keeps what was unsaved.
        document->Flush();
        document->DestroyAll();
    }
    if (trayAndKeys) trayAndKeys->RemoveIcon();
    destroyedByDestructor = true;
    // A construction that failed before the window stood has none. The window
    // goes before the settings it writes to.
    if (mainWindow) mainWindow->Destroy();
    mainWindow.reset();
    skinStore.reset();
    settingsStore.reset();
    skin.Clear();
}

void Application::LoadSkin() {
    skinFolder = SkinFolderPath(programFolder, settings.skinName);
    skinStore = std::make_unique<SettingsStore>(skinFolder + L"Skin.ini");
    SkinLoadOptions options;
    options.folder = skinFolder;
    options.window = mainWindow->Handle();
    options.layeredWindows = layeredWindows;
    options.systemDark = SystemAppsDark();
    {
        // Dozens of keys of both files: each read once.
        SettingsStore::ReadBurst skinReads(*skinStore);
        SettingsStore::ReadBurst settingsReads(*settingsStore);
        colorThemeChosen =
            ::LoadSkin(skin, *skinStore, *settingsStore, options, settings.skinColorThemeIndex);
    }
}

void Application::OnMainWindowButton() {
    ShowMainMenu(false);
}
