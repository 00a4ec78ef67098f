// The settings dialog as the application opens it and takes its result, and the
// update check as the application starts it: once per process at start-up, as
// the day count allows, from the menu, cancelled from the menu and at exit.

#include "ApplicationFixture.h"

#include <commctrl.h>

#include "support/Bitmaps_win.h"
#include "support/LocalUpdateServer.h"
#include "support/DialogAnswers_win.h"
#include "lang/LanguageTable.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/FileIo.h"
#include "store/Folders_win.h"
#include "store/SettingsStore.h"
#include "ui/SettingsDialogText.h"
#include "ui/SettingsDialog_win.h"

namespace {

// Whether some window of the process holds the combination: registering it
// again fails then.
bool HotKeyHeld(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0xBEEF, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 0xBEEF);
    return false;
}

bool RunValueExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const bool exists = RegQueryValueExW(key, L"Vellomar Notes 3", nullptr, nullptr, nullptr,
                                         nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

// Opens the main menu as the user does and closes it at once; its items keep the
// states they were given. True when the item is grey.
bool GreyInMainMenu(Application& a, UINT id) {
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    a.ShowMainMenu(false);
    KillTimer(nullptr, timer);
    return (GetMenuState(GetSubMenu(a.MainMenu(), 0), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

class ApplicationSettingsTest : public ApplicationFixture {
protected:
    void TearDown() override {
        SetRunAtLogOn(false);
        ApplicationFixture::TearDown();
    }

    HWND OpenDialog() {
        app->Main().Send(WM_COMMAND, IDM_GENERAL_SETTINGS, 0);
        SettingsDialog* dialog = app->Preferences().Dialog();
        return dialog ? dialog->Handle() : nullptr;
    }
    HWND Item(int id) const { return GetDlgItem(app->Preferences().Dialog()->Handle(), id); }
    void SetCheck(int id, bool on) { SendMessageW(Item(id), BM_SETCHECK, on, 0); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A click as the button sends it: its state first, then the notification.
    void Click(int id) {
        HWND dialog = app->Preferences().Dialog()->Handle();
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        PumpMessages();
    }
    void Toggle(int id) {
        SetCheck(id, !Checked(id));
        Click(id);
    }
    void SetHotKey(int id, BYTE key, BYTE modifiers) {
        SendMessageW(Item(id), HKM_SETHOTKEY, MAKEWORD(key, modifiers), 0);
    }
    int ReadInt(const wchar_t* path) {
        SettingsStore store(SettingsPath());
        int32_t value = -12345;
        store.ReadLong(path, value);
        return value;
    }

    DialogAnswers boxes;
};

TEST_F(ApplicationSettingsTest, OpensTranslatedWithTheSettingsAndHotKeysReleased) {
    Application& a = Start();
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'N'));
    HWND dialog = OpenDialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    wchar_t text[256] = {};
    GetWindowTextW(dialog, text, 256);
    // Translated (each control's text in each language is the resources test's).
    EXPECT_EQ(std::wstring(text), Texts().TextOf(Texts().FindKey(L"Settings_Title").value()));

    // The defaults: alpha 128 of 1-255, snapping to notes (so the box is enabled),
    // border and gap 15, Ctrl+Shift+N for a new note.
    EXPECT_EQ(SendMessageW(Item(IDC_TRANSLUCENCY), TBM_GETPOS, 0, 0), 128);
    EXPECT_EQ(SendMessageW(Item(IDC_TRANSLUCENCY), TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(Item(IDC_TRANSLUCENCY), TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(LOWORD(SendMessageW(Item(IDC_SNAP_GAP_SPIN), UDM_GETPOS, 0, 0)), 15);
    EXPECT_TRUE(Checked(IDC_SNAP_NOTES_TOGETHER));
    EXPECT_FALSE(Checked(IDC_SNAP_TO_GRID));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_SNAP_NOTES_TOGETHER)));
    EXPECT_EQ(SendMessageW(Item(IDC_HOTKEY_NEW_NOTE), HKM_GETHOTKEY, 0, 0),
              MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_FALSE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'N')) << "released while the dialog is open";

    // One dialog at a time; settings and exit wait for it.
    EXPECT_TRUE(GreyInMainMenu(a, IDM_GENERAL_SETTINGS));
    EXPECT_TRUE(GreyInMainMenu(a, IDM_EXIT));
    SettingsDialog* first = a.Preferences().Dialog();
    EXPECT_EQ(OpenDialog(), dialog);
    EXPECT_EQ(a.Preferences().Dialog(), first);

    // Snap to grid disables snapping to notes; "50%" is 128 wherever the bar was.
    Toggle(IDC_SNAP_TO_GRID);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_SNAP_NOTES_TOGETHER)));
    Toggle(IDC_SNAP_TO_GRID);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_SNAP_NOTES_TOGETHER)));
    SendMessageW(Item(IDC_TRANSLUCENCY), TBM_SETPOS, TRUE, 7);
    Click(IDC_TRANSLUCENCY_HALF);
    EXPECT_EQ(SendMessageW(Item(IDC_TRANSLUCENCY), TBM_GETPOS, 0, 0), 128);

    // Cancel closes without applying anything and gives the hot keys back.
    Click(IDCANCEL);
    EXPECT_TRUE(PumpUntil([&] { return !a.Preferences().Dialog(); }, 2000));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'N'));
    EXPECT_FALSE(FileIo::FileExists(SettingsPath()));
}

TEST_F(ApplicationSettingsTest, ApplyAndOkChangeTheProgramAtOnce) {
    Application& a = Start();
    NoteWindow* note = a.CreateNote(L"a note", false, true);
    ASSERT_TRUE(note);
    ASSERT_TRUE(OpenDialog());
    // The note fades to the translucency of inactive notes.
    EXPECT_TRUE(PumpUntil([&] { return LayeredAlpha(note->Handle()) == 128; }, 3000))
        << LayeredAlpha(note->Handle());

    SendMessageW(Item(IDC_TRANSLUCENCY), TBM_SETPOS, TRUE, 200);
    SetCheck(IDC_SNAP_TO_GRID, true);
    SetCheck(IDC_CONFIRM_ON_DELETE, false);
    SetCheck(IDC_RUN_AT_STARTUP, true);
    SetDlgItemTextW(a.Preferences().Dialog()->Handle(), IDC_SNAP_BORDER, L"25");
    SendMessageW(Item(IDC_SNAP_GAP_SPIN), UDM_SETPOS, 0, MAKELPARAM(30, 0));
    SetHotKey(IDC_HOTKEY_NEW_NOTE, 'J', HOTKEYF_CONTROL | HOTKEYF_ALT);
    SetHotKey(IDC_HOTKEY_BRING_NOTES_TO_TOP, 'N', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    Click(IDC_APPLY);
    // The note fades to the new translucency.
    EXPECT_TRUE(PumpUntil([&] { return LayeredAlpha(note->Handle()) == 200; }, 3000))
        << LayeredAlpha(note->Handle());

    ASSERT_TRUE(a.Preferences().Dialog()) << "Apply keeps the dialog open";
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(a.Settings().noteAlpha, 200);
    EXPECT_TRUE(a.Settings().useNoteGrid);
    EXPECT_TRUE(a.Main().SnapToGrid());
    EXPECT_EQ(a.Main().SnapGap(), 30);
    EXPECT_EQ(a.Main().SnapBorder(), 25);
    EXPECT_EQ(LayeredAlpha(note->Handle()), 200);
    EXPECT_TRUE(RunValueExists());
    // Written at once, unchanged keys too (which key holds which field is the
    // settings store's own test).
    EXPECT_EQ(ReadInt(L"/Settings/NoteAlpha"), 200);
    EXPECT_EQ(ReadInt(L"/Settings/ConfirmDelete"), 0);
    EXPECT_EQ(ReadInt(L"/Settings/HotKeyNewNoteMod"), 6);
    EXPECT_EQ(ReadInt(L"/Settings/HotKeyShowNotes"), 'S');
    // While the dialog stays open its hot-key fields still get every key.
    EXPECT_FALSE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'N'));

    // OK with a typed number the up-down cannot read keeps the last value.
    SetDlgItemTextW(a.Preferences().Dialog()->Handle(), IDC_SNAP_BORDER, L"");
    SetCheck(IDC_RUN_AT_STARTUP, false);
    Click(IDOK);
    EXPECT_TRUE(PumpUntil([&] { return !a.Preferences().Dialog(); }, 2000));
    EXPECT_EQ(a.Main().SnapBorder(), 25);
    EXPECT_FALSE(RunValueExists());
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'N'));
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_ALT, 'J'));
    EXPECT_FALSE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'T')) << "the old key is free again";
    EXPECT_FALSE(restart);

    // The next start (a restart after a change of skin, say) shows its windows
    // at the stored level from the first moment instead of fading there.
    app.reset();
    PumpMessages();
    Application& b = Start();
    EXPECT_EQ(b.Main().Alpha(), 200);
    ASSERT_EQ(b.Notes().size(), 1u);
    EXPECT_EQ(b.Notes()[0]->Alpha(), 200);
}

TEST_F(ApplicationSettingsTest, CancelAfterApplyKeepsWhatWasApplied) {
    Application& a = Start();
    ASSERT_TRUE(OpenDialog());
    SetCheck(IDC_SHOW_DATE_IN_TITLE, false);
    Click(IDC_APPLY);
    SetCheck(IDC_CONFIRM_ON_DELETE, false);
    Click(IDCANCEL);
    EXPECT_TRUE(PumpUntil([&] { return !a.Preferences().Dialog(); }, 2000));
    EXPECT_FALSE(a.Settings().showDateInTitle);
    EXPECT_TRUE(a.Settings().confirmDelete);
    EXPECT_EQ(ReadInt(L"/Settings/ConfirmDelete"), 1);
}

// A changed layered-windows setting is taken only with OK, which asks whether to
// restart: Cancel goes back to the dialog, No applies without a restart, Yes
// applies and restarts.
TEST_F(ApplicationSettingsTest, LayeredWindowsChangeAsksToRestart) {
    Application& a = Start();
    ASSERT_TRUE(OpenDialog());
    Toggle(IDC_LAYERED_WINDOWS);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_APPLY)));
    Toggle(IDC_LAYERED_WINDOWS);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_APPLY)));

    Toggle(IDC_LAYERED_WINDOWS);
    boxes.Queue(IDCANCEL);
    Click(IDOK);
    EXPECT_TRUE(PumpUntil([&] { return boxes.Texts().size() >= 1u; }, 2000));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], Texts().TextOf(kConfirm_Restart));
    ASSERT_TRUE(a.Preferences().Dialog());
    EXPECT_TRUE(IsWindow(a.Preferences().Dialog()->Handle()));
    EXPECT_TRUE(a.Settings().layeredWindowEnabled);
    EXPECT_FALSE(FileIo::FileExists(SettingsPath()));

    boxes.Queue(IDNO);
    Click(IDOK);
    EXPECT_TRUE(PumpUntil([&] { return !a.Preferences().Dialog(); }, 2000));
    EXPECT_EQ(boxes.Texts().size(), 2u);
    EXPECT_FALSE(a.Settings().layeredWindowEnabled);
    EXPECT_TRUE(a.LayeredWindows()) << "this run keeps its windows";
    EXPECT_EQ(ReadInt(L"/Settings/LayeredWindowEnabled"), 0);
    EXPECT_FALSE(restart);

    ASSERT_TRUE(OpenDialog());
    Toggle(IDC_LAYERED_WINDOWS);
    boxes.Queue(IDYES);
    Click(IDOK);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(a.Main().Handle()); }, 2000));
    EXPECT_EQ(boxes.Texts().size(), 3u);
    EXPECT_EQ(ReadInt(L"/Settings/LayeredWindowEnabled"), 1);
    EXPECT_TRUE(restart);
    EXPECT_FALSE(IsWindow(a.Main().Handle())) << "closed for the restart";
}

// A hot key that another program holds is named in a message from the dialog;
// the others work.
TEST_F(ApplicationSettingsTest, TakenHotKeysAreReported) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 0xCAFE, MOD_CONTROL | MOD_ALT, 'K'));
    Application& a = Start();
    HWND dialog = OpenDialog();
    ASSERT_TRUE(dialog);
    SetHotKey(IDC_HOTKEY_NEW_NOTE, 'K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    Click(IDC_APPLY);
    EXPECT_TRUE(PumpUntil([&] { return boxes.Texts().size() >= 1u; }, 2000));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    const std::wstring& text = boxes.Texts()[0];
    EXPECT_EQ(text.rfind(Texts().TextOf(kSettings_HotKeysTaken), 0), 0u) << TestPaths::Narrow(text);
    EXPECT_NE(text.find(PlainLabel(Texts().Translate(L"Settings_NewNote")) + L": "),
              std::wstring::npos)
        << TestPaths::Narrow(text);
    EXPECT_NE(text.find(L"+K"), std::wstring::npos) << TestPaths::Narrow(text);
    EXPECT_EQ(text.find(PlainLabel(Texts().Translate(L"Settings_ShowHideNotes"))),
              std::wstring::npos);

    Click(IDOK);
    EXPECT_TRUE(PumpUntil([&] { return boxes.Texts().size() >= 2u; }, 2000));
    EXPECT_EQ(boxes.Texts().size(), 2u) << "told again when it still does not work";
    EXPECT_TRUE(HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'S')) << "the others are registered";
    EXPECT_EQ(a.Settings().hotKeys[kHotKeyNewNote].virtualKey, 'K');
    UnregisterHotKey(nullptr, 0xCAFE);
}

// When the Run value cannot be written, the box shows the state the system has
// and the user is told.
TEST_F(ApplicationSettingsTest, RunAtLogOnFailureShowsTheRealState) {
    Application& a = Start();
    a.Preferences().writeRunAtLogOn = [](bool) { return false; };
    a.Preferences().readRunAtLogOn = [] { return false; };
    ASSERT_TRUE(OpenDialog());
    SetCheck(IDC_RUN_AT_STARTUP, true);
    Click(IDC_APPLY);
    EXPECT_TRUE(PumpUntil([&] { return boxes.Texts().size() >= 1u; }, 2000));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], Texts().TextOf(kSettings_RunAtStartupFailed));
    EXPECT_FALSE(Checked(IDC_RUN_AT_STARTUP));
    EXPECT_FALSE(a.Settings().runAtLogOn);
    EXPECT_FALSE(a.Preferences().Dialog()->Edited().runAtLogOn);
}

class ApplicationUpdateTest : public ApplicationFixture {
protected:
    static void SetUpTestSuite() { server = new LocalUpdateServer; }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(server->Port(), 0) << "the local server did not start";
        OverrideUpdateNetwork(server->Network(3000));
        server->Answer(200, "302");
    }
    // Runs messages until no check is left.
    bool Settle(DWORD timeoutMs = 10000) {
        return PumpUntil([&] { return !app->Preferences().Updates().Exists(); }, timeoutMs);
    }
    void WriteLastCheck(uint64_t time) {
        SettingsStore store(SettingsPath());
        store.WriteUInt32(L"/Settings/LastUpdateCheck_Low", static_cast<uint32_t>(time));
        store.WriteUInt32(L"/Settings/LastUpdateCheck_High", static_cast<uint32_t>(time >> 32));
    }

    static inline LocalUpdateServer* server = nullptr;
    DialogAnswers boxes;
};

TEST_F(ApplicationUpdateTest, StartupCheckRunsOncePerProcessAsTheDayCountAllows) {
    const struct {
        uint64_t lastCheckAgo;  // 0: never
        bool checks;
    } cases[] = {{3 * Update::kFileTimeDay, false}, {10 * Update::kFileTimeDay, true}, {0, true}};
    for (const auto& c : cases) {
        WriteLastCheck(c.lastCheckAgo ? FileTimeNow() - c.lastCheckAgo : 0);
        const size_t before = server->Requests().size();
        StartOptions first = Options();
        first.firstOfProcess = true;
        Start(first);
        ASSERT_TRUE(Settle());
        EXPECT_EQ(server->Requests().size(), before + (c.checks ? 1 : 0)) << c.lastCheckAgo;
        EXPECT_TRUE(boxes.Texts().empty()) << "silent: the running version is the newest";

        // A restart in the same process, as for a new language, does not check
        // again, due or not.
        WriteLastCheck(0);
        app.reset();
        Start(first.ForRestart());
        ASSERT_TRUE(Settle());
        EXPECT_EQ(server->Requests().size(), before + (c.checks ? 1 : 0));
        app.reset();
    }

    // Switched off, nothing is checked.
    SettingsStore(SettingsPath()).WriteBool(L"/Settings/CheckForUpdatesAtStartup", false);
    const size_t before = server->Requests().size();
    StartOptions first = Options();
    first.firstOfProcess = true;
    Start(first);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(server->Requests().size(), before);
}

// From the menu: while a check waits for a server that never answers, the menu
// offers to cancel it, and both cancelling and exiting return within about a
// second.
TEST_F(ApplicationUpdateTest, MenuCheckAndCancelAndExitWithAStalledServer) {
    SettingsStore(SettingsPath()).WriteBool(L"/Settings/CheckForUpdatesAtStartup", false);
    Application& a = Start();
    server->Stall();

    for (bool exit : {false, true}) {
        const size_t before = server->Requests().size();
        EXPECT_FALSE(GreyInMainMenu(*app, IDM_CHECK_FOR_UPDATES));
        EXPECT_TRUE(GreyInMainMenu(*app, IDM_CANCEL_CHECK_FOR_UPDATES));
        app->Main().Send(WM_COMMAND, IDM_CHECK_FOR_UPDATES, 0);
        ASSERT_TRUE(app->Preferences().Updates().Running());
        EXPECT_TRUE(GreyInMainMenu(*app, IDM_CHECK_FOR_UPDATES));
        EXPECT_FALSE(GreyInMainMenu(*app, IDM_CANCEL_CHECK_FOR_UPDATES));
        EXPECT_TRUE(GreyInMainMenu(*app, IDM_GENERAL_SETTINGS));
        ASSERT_TRUE(server->WaitForRequests(before + 1));
        app->Main().Send(WM_COMMAND, IDM_CHECK_FOR_UPDATES, 0);  // one check at a time
        PumpFor(100);
        EXPECT_EQ(server->Requests().size(), before + 1);

        const DWORD start = GetTickCount();
        if (exit) {
            app.reset();
        } else {
            a.Main().Send(WM_COMMAND, IDM_CANCEL_CHECK_FOR_UPDATES, 0);
            EXPECT_FALSE(a.Preferences().Updates().Exists());
            EXPECT_FALSE(a.Preferences().Updates().Running());
        }
        EXPECT_LT(GetTickCount() - start, 1500u) << (exit ? "exit" : "cancel");
        if (!exit) {
            EXPECT_TRUE(GreyInMainMenu(a, IDM_CANCEL_CHECK_FOR_UPDATES));
        }
    }
    EXPECT_TRUE(boxes.Texts().empty());
}

// A newer version's download opens as every address of the program does: a
// failure is told.
TEST_F(ApplicationUpdateTest, DownloadOpensAsAnyAddress) {
    SettingsStore(SettingsPath()).WriteBool(L"/Settings/CheckForUpdatesAtStartup", false);
    Application& a = Start();
    std::vector<std::wstring> opened;
    a.Commands().SetShellOpener([&](const std::wstring& target, const std::wstring&) {
        opened.push_back(target);
        return DWORD{ERROR_FILE_NOT_FOUND};
    });
    server->Answer(200, "400");
    boxes.Queue(IDYES);
    a.Main().Send(WM_COMMAND, IDM_CHECK_FOR_UPDATES, 0);
    ASSERT_TRUE(Settle());
    const std::wstring download = L"https://127.0.0.1/notes/zephyn3.exe";
    EXPECT_EQ(opened, std::vector<std::wstring>{download});
    ASSERT_EQ(boxes.Texts().size(), 2u);
    EXPECT_EQ(boxes.Texts()[0], Texts().TextOf(kNewVersion_DownloadPrompt));
    EXPECT_NE(boxes.Texts()[1].find(download), std::wstring::npos)
        << TestPaths::Narrow(boxes.Texts()[1]);
}

}  // namespace
