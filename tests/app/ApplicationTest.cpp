#include "app/Application_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestPaths.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "notes/NoteWindow_win.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"

namespace {

// Runs the thread's messages for the given time.
void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

// Every test runs the application over a scratch data folder, never the
// user's own.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { data = TestPaths::MakeScratchDir(); }
    void TearDown() override {
        app.reset();
        PumpFor(0);
    }

    Application& Start() {
        app = std::make_unique<Application>(restart, failed, data);
        EXPECT_FALSE(failed);
        return *app;
    }
    std::wstring SettingsPath() const { return data + L"Settings.ini"; }
    std::wstring NotesPath() const { return data + L"Notes.dat"; }
    LRESULT Tray(UINT mouseMessage) {
        return app->Send(Application::kTrayMessage, Application::kTrayIconId, mouseMessage);
    }

    std::wstring data;
    bool restart = false;
    bool failed = false;
    std::unique_ptr<Application> app;
};

TEST_F(ApplicationTest, FirstRunStartsWithDefaultsAndWritesNothing) {
    Application& a = Start();
    const RECT r = a.WindowRect();
    EXPECT_EQ(r.left, 600);
    EXPECT_EQ(r.top, 24);
    EXPECT_GT(r.right - r.left, 1) << "the skin's background sizes the window";
    EXPECT_TRUE(IsWindowVisible(a.Handle()));
    EXPECT_TRUE(a.IsTopmost());
    EXPECT_TRUE(a.NotesShown());
    EXPECT_TRUE(a.Notes().empty());
    wchar_t title[64] = {};
    GetWindowTextW(a.Handle(), title, 64);
    EXPECT_STREQ(title, L"Vellomar Notes 3");
    EXPECT_NE(a.MainMenu(), nullptr);
    EXPECT_NE(a.NoteMenu(), nullptr);
    EXPECT_EQ(a.TrayIcon().szTip, TextOf(kTrayIconToolTip));
    EXPECT_EQ(a.RecycleBinPath(), data + TextOf(kRecycleBinFile));

    // The hot keys are taken: a second registration of Ctrl+Shift+N fails.
    EXPECT_FALSE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_SHIFT, 'N'));
    EXPECT_FALSE(FileIo::FileExists(SettingsPath()));
    EXPECT_FALSE(FileIo::FileExists(NotesPath()));

    app.reset();
    EXPECT_TRUE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_SHIFT, 'N'))
        << "the hot keys go with the application";
    UnregisterHotKey(nullptr, 99);
    EXPECT_FALSE(FileIo::FileExists(NotesPath()));
}

TEST_F(ApplicationTest, ColourThemeIndexOutOfRangeStartsWithTheFirstTheme) {
    SettingsStore settings(SettingsPath());
    for (int32_t stored : {3, 7, 99, -1}) {
        settings.WriteInt(L"/SkinColorThemeIndex", stored);
        Application& a = Start();
        const size_t themes = a.NoteSkin().colorThemes.size();
        ASSERT_EQ(themes, 7u) << "the Default skin";
        EXPECT_EQ(a.ColorThemeIndex(), stored == 3 ? 3u : 0u) << stored;
        app.reset();
    }
}

TEST_F(ApplicationTest, MovesAreStoredWithTheirSign) {
    Application& a = Start();
    a.Send(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-100), static_cast<WORD>(-5)));
    SettingsStore settings(SettingsPath());
    int32_t x = 0, y = 0;
    EXPECT_TRUE(settings.ReadInt(L"/MainWindow/PositionX", x));
    EXPECT_TRUE(settings.ReadInt(L"/MainWindow/PositionY", y));
    EXPECT_EQ(x, -100);
    EXPECT_EQ(y, -5);
}

TEST_F(ApplicationTest, ShowHideHotKeyWithoutNotesDoesNothing) {
    Application& a = Start();
    a.Send(WM_HOTKEY, Application::kFirstHotKeyId + kHotKeyShowNotes, 0);
    EXPECT_TRUE(a.NotesShown());
    EXPECT_FALSE(FileIo::FileExists(SettingsPath()));
}

TEST_F(ApplicationTest, TrayClickWaitsForTheDoubleClickTime) {
    Application& a = Start();
    Tray(WM_LBUTTONUP);
    EXPECT_TRUE(a.TrayClickPending());
    Tray(WM_LBUTTONUP);  // a second click while waiting starts no second timer
    PumpFor(GetDoubleClickTime() + 200);
    EXPECT_FALSE(a.TrayClickPending());
    EXPECT_TRUE(a.Notes().empty());
}

TEST_F(ApplicationTest, TrayDoubleClickMakesExactlyOneNoteInTheTrayCorner) {
    Application& a = Start();
    Tray(WM_LBUTTONUP);
    Tray(WM_LBUTTONDBLCLK);
    Tray(WM_LBUTTONUP);
    EXPECT_FALSE(a.TrayClickPending());
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_TRUE(a.PlaceNearTray());

    const RECT work = Arrange::WorkAreaOf(a.Handle());
    const RECT note = a.Notes().front()->WindowRect();
    const int margin = 3 * a.Settings().snapGap;
    EXPECT_LE(note.right, work.right - margin + 1);
    EXPECT_LE(note.bottom, work.bottom - margin + 1);
    EXPECT_GT(note.left, (work.left + work.right) / 2);
    EXPECT_GT(note.top, (work.top + work.bottom) / 2);
    // The button-up after the double click started no timer.
    PumpFor(GetDoubleClickTime() + 200);
    EXPECT_LE(a.Notes().size(), 1u);
}

TEST_F(ApplicationTest, TrayIconReturnsWhenTheTaskbarIsCreatedAgain) {
    Application& a = Start();
    NOTIFYICONDATAW icon = a.TrayIcon();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
    a.Send(TaskbarCreatedMessage());
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));
}

TEST_F(ApplicationTest, HandOverOpensTheFileAsANoteReadingOnlyTheGivenBytes) {
    Application& a = Start();
    const std::wstring path = data + L"hand over.txt";
    // UTF-8 without a byte-order mark, CR LF line ends.
    ASSERT_TRUE(FileIo::WriteFileAtomically(path,
                                            "Gr\xC3\xBC\xC3\x9F"
                                            "e\r\nzwei"));

    // No terminating zero, and garbage right after the counted bytes.
    std::wstring buffer = path + L"XYZ";
    COPYDATASTRUCT copy = {};
    copy.dwData = 42;  // not a hand-over
    copy.cbData = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    copy.lpData = &buffer[0];
    a.Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    EXPECT_TRUE(a.Notes().empty());
    copy.dwData = 1102217;
    a.Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    ASSERT_EQ(a.Notes().size(), 1u);
    const std::wstring text = a.Notes().front()->Data().text;
    EXPECT_EQ(text.substr(0, 5), L"Gr\u00FC\u00DFe");
    EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
    EXPECT_NE(text.find(L"zwei"), std::wstring::npos);

    // The new note was saved, and is there again at the next start.
    app.reset();
    LoadResult saved = LoadNotesFile(NotesPath(), LoadEnvironment{});
    ASSERT_EQ(saved.data.notes.size(), 1u);
    Application& again = Start();
    ASSERT_EQ(again.Notes().size(), 1u);
    EXPECT_EQ(again.Notes().front()->Data().text, saved.data.notes.front().text);
}

TEST_F(ApplicationTest, NoNoteIsMadeWhileNotesAreHidden) {
    Application& a = Start();
    ASSERT_NE(a.CreateNote(L"one", false, true), nullptr);
    a.Send(WM_HOTKEY, Application::kFirstHotKeyId + kHotKeyShowNotes, 0);
    EXPECT_FALSE(a.NotesShown());
    EXPECT_FALSE(IsWindowVisible(a.Notes().front()->Handle()));
    EXPECT_EQ(a.CreateNote(L"two", false, true), nullptr);
    a.Send(WM_HOTKEY, Application::kFirstHotKeyId + kHotKeyShowNotes, 0);
    EXPECT_TRUE(IsWindowVisible(a.Notes().front()->Handle()));
    EXPECT_EQ(a.Notes().size(), 1u);
}

TEST_F(ApplicationTest, NotesSurviveTheShutdown) {
    Application& a = Start();
    a.CreateNote(L"first", false, false);
    a.CreateNote(L"second", false, false);
    // Closing writes nothing: the file keeps what the last change saved.
    a.Send(WM_CLOSE);
    LoadResult saved = LoadNotesFile(NotesPath(), LoadEnvironment{});
    ASSERT_EQ(saved.data.notes.size(), 2u);
    EXPECT_EQ(saved.data.notes[1].text, L"second");
}

}  // namespace
