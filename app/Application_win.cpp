#include "app/Application_win.h"

#include "app/NoteSync_win.h"

#include <shlobj.h>

#include <algorithm>

#include "arrange/Snapping_win.h"
#include "base/MemoryDc_win.h"
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
#include "store/RecycleBin_win.h"
#include "store/TempFiles_win.h"
#include "skin/PixelImage.h"
#include "skin/WindowShape_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/ShellOpen_win.h"
#include "ui/SkinButton_win.h"
#include "ui/SettingsDialog_win.h"

// The skin's menu button on the main window.
class MainWindowButton : public SkinButton {
public:
    MainWindowButton(Application& app) : SkinButton(app.Handle()), app(app) {}
    void OnClick() override {
        app.BringToForeground(true);
        app.ShowMainMenu(false);
    }

private:
    Application& app;
};

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

Application::Application(bool& restartRequested, bool& startFailed, const std::wstring& dataFolder)
    : SmallWindow(skinnedWindows),
      writeRunAtLogOn(SetRunAtLogOn),
      readRunAtLogOn(IsRunAtLogOn),
      restartRequested(restartRequested),
      updateCheck(Update::Version{ProgramInfo::kVersionMajor, ProgramInfo::kVersionMinor},
                  ProgramInfo::kProductName) {
    startFailed = true;

    programFolder = ProgramFolderOnce();
    SetCurrentDirectoryW(programFolder.c_str());
    const std::wstring data = dataFolder.empty() ? AppDataFolder() : dataFolder;
    oldNotesFolder =
        (dataFolder.empty() ? RoamingFolder() : dataFolder) + OldNotes::kFolderName + L"\\";
    shellOpen = [](const std::wstring& target, const std::wstring& program) {
        return ShellOpen(target, program);
    };
    textFileOpen = [](const std::wstring& path, const std::wstring& program) {
        return program.empty() ? RecycleBin::OpenWithTextAssociation(path)
                               : RecycleBin::OpenInNotepad(path);
    };
    updateCheck.SetLauncher([this](const std::wstring& url) { OpenOrTell(url); });
    SetAsideDamagedSettings(data + L"Settings.ini");
    settingsStore = std::make_unique<SettingsStore>(data + L"Settings.ini");
    settingsStore->SetWriteObserver([this](bool written) { OnSettingsWriteResult(written); });

    // The language file is the first key read; an empty value counts as
    // missing there, so the language and the rest come from one reader.
    {
        SettingsStore::ReadBurst reads(*settingsStore);
        ReadAppSettings(*settingsStore, settings, [] { return IsRunAtLogOn(); });
    }
    LoadLanguage(LanguageFilePath(programFolder, settings.languageFile));
    recycleBinPath = data + RecycleBin::RecycleBinFileName(TextOf(kRecycleBinFile));
    document = std::make_unique<NotesDocument>(data + L"Notes.dat", settings);
    document->retryOtherWrites = [this] { settingsStore->RetryPendingWrites(); };
    document->otherWritesPending = [this] { return settingsStore->HasPendingWrites(); };
    // Saves killed half-way in earlier runs left their temporary files here.
    RemoveStaleTempFiles(data);

    layeredWindows = settings.layeredWindowEnabled;
    // Before the first window: it starts at the chosen level, not the default.
    skinnedWindows.SetAlpha(settings.noteAlpha);

    Create(layeredWindows, false);
    SetWindowTextW(Handle(), ProgramInfo::kProductName);
    document->SetOwnerWindow(Handle());
    hotKeys.Register(Handle(), settings.hotKeys);

    notesShown = settings.showNotes;
    SetTopmost(settings.mainWindowAlwaysOnTop);
    Move(settings.mainWindowX, settings.mainWindowY);
    positionKnown = true;

    AddTrayIcon();
    LoadSkinAndMainWindow();

    HINSTANCE instance = GetModuleHandleW(nullptr);
    mainMenu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    noteMenu.Reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_NOTE_MENU)));
    if (mainMenu) TranslateMenu(mainMenu.Get());
    if (noteMenu) TranslateMenu(noteMenu.Get());

    // No note is loaded yet, so notes always start shown; a hidden state that
    // outlived the last run would leave the user with invisible notes.
    notesShown = true;
    InvalidateRect(Handle(), nullptr, TRUE);

    ReadMainWindowVisible(*settingsStore, settings);
    if (settings.mainWindowVisible) {
        ShowWindow(Handle(), SW_SHOWNA);
        if (!settings.mainWindowAlwaysOnTop) {
            SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }

    LoadNotes();
    StartSync();
    StartupUpdateCheck();

    EnableSnapping();
    startFailed = false;
}

Application::~Application() {
    // A device file still due is written while the window still has its timers.
    sync.reset();
    button.reset();
    mainBackground.reset();
    hotKeys.Unregister();
    StopUpdateCheck();
    settingsDialog.reset();
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
    tray.Remove();
    skinStore.reset();
    settingsStore.reset();
    skin.Clear();
    destroyedByDestructor = true;
    Destroy();
}

void Application::LoadSkinAndMainWindow() {
    skinFolder = SkinFolderPath(programFolder, settings.skinName);
    skinStore = std::make_unique<SettingsStore>(skinFolder + L"Skin.ini");
    SkinLoadOptions options;
    options.folder = skinFolder;
    options.window = Handle();
    options.layeredWindows = layeredWindows;
    options.systemDark = SystemAppsDark();
    {
        // Dozens of keys of both files: each read once.
        SettingsStore::ReadBurst skinReads(*skinStore);
        SettingsStore::ReadBurst settingsReads(*settingsStore);
        colorThemeChosen = LoadSkin(skin, *skinStore, *settingsStore, options, colorThemeIndex);
    }
    settings.skinColorThemeIndex = colorThemeIndex;

    // The application keeps its own hold on the background.
    mainBackground = skin.mainWindowBackground;
    if (mainBackground) {
        Resize(mainBackground->Width(), mainBackground->Height());
        // Without layering the colour key does nothing: the region cuts it.
        const PixelImage* pixels = mainBackground->Pixels();
        if (!layeredWindows && pixels) ApplyWindowShape(Handle(), ShapeRegion(*pixels).Get(), true);
    }
    button = std::make_unique<MainWindowButton>(*this);
    button->SetBitmaps(skin.mainWindowButton);
    button->Move(skin.mainButtonPos.x, skin.mainButtonPos.y);
}

void Application::AddTrayIcon() {
    tray.Add(Handle(), kTrayIconId, kTrayMessage,
             LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY)),
             TextOf(kTrayIconToolTip));
}

const LanguageTable& Application::Language() const {
    return LanguageTable::Current();
}

unsigned Application::RegisterHotKeys() {
    return hotKeys.Register(Handle(), settings.hotKeys);
}

void Application::UnregisterHotKeys() {
    hotKeys.Unregister();
}

void Application::Paint(HDC dc) {
    if (!mainBackground || !mainBackground->Handle()) return;
    MemoryDc memory(dc);
    if (!memory) return;
    mainBackground->Select(memory.Get());
    mainBackground->Draw(dc, 0, 0);
    mainBackground->Deselect();
}

void Application::OnWindowPosChanging(WINDOWPOS& pos) {
    // The main window snaps to the monitors' edges only, never to notes.
    if (!SnappingEnabled() || (pos.flags & SWP_NOMOVE)) return;
    if (GetKeyState(VK_CONTROL) < 0 || !settings.snapNotes) return;
    int32_t cx = pos.cx;
    int32_t cy = pos.cy;
    if (pos.flags & SWP_NOSIZE) {
        const RECT r = WindowRect();
        cx = r.right - r.left;
        cy = r.bottom - r.top;
    }
    int32_t x = pos.x;
    int32_t y = pos.y;
    Arrange::SnapToMonitors(settings.snapGap, cx, cy, x, y, skinnedWindows.WorkAreas());
    pos.x = x;
    pos.y = y;
}

void Application::SetMainWindowAlwaysOnTop(bool onTop) {
    SetTopmost(onTop);
    settings.mainWindowAlwaysOnTop = onTop;
    WriteMainWindowAlwaysOnTop(*settingsStore, onTop);
}

void Application::SetMainWindowVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    settings.mainWindowVisible = visible;
    WriteMainWindowVisible(*settingsStore, visible);
}
