#include <algorithm>
#include <utility>

#include "ApplicationFixture.h"
#include "support/DialogAnswers_win.h"
#include "app/CommandLine.h"
#include "app/HotKeys_win.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "notes/NoteWindow_win.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"
#include "ui/PrivateMessages_win.h"

namespace {

class ApplicationTest : public ApplicationFixture {
protected:
    void Tray(UINT mouse) { app->Main().Send(kTrayMessage, TrayAndKeys::kTrayIconId, mouse); }
    void ShowHideKey() { app->Main().Send(WM_HOTKEY, HotKeys::kFirstId + kHotKeyShowNotes, 0); }
};

TEST_F(ApplicationTest, FirstRunStartsWithDefaultsAndWritesNothing) {
    Application& a = Start();
    EXPECT_EQ(a.Main().WindowRect().left, 600);
    EXPECT_EQ(a.Main().WindowRect().top, 24);
    EXPECT_TRUE(IsWindowVisible(a.Main().Handle()));
    EXPECT_TRUE(a.Main().IsTopmost());
    EXPECT_TRUE(a.Notes().empty());
    // The hot keys are taken while the application runs.
    EXPECT_FALSE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_SHIFT, 'N'));

    // The show/hide key with no notes changes nothing, so nothing is saved.
    ShowHideKey();
    EXPECT_TRUE(a.NotesShown());
    app.reset();
    EXPECT_FALSE(FileIo::FileExists(SettingsPath()));
    EXPECT_FALSE(FileIo::FileExists(data + L"Notes.dat"));
}

// The stored language file name as the start-up reads it: a file that is not
// installed gives English, never texts shown as keys (an empty value, the
// settings' own test).
TEST_F(ApplicationTest, LanguageFileChosenAtStartUp) {
    const struct {
        const wchar_t* stored;
        const wchar_t* recycleBin;
    } cases[] = {{nullptr, L"Recycle Bin.txt"},
                 {L"Klingon.ini", L"Recycle Bin.txt"},
                 {L"German.ini", L"Papierkorb.txt"}};
    for (const auto& c : cases) {
        const std::wstring label = c.stored ? c.stored : L"(no key)";
        {
            SettingsStore settings(SettingsPath());
            if (c.stored) settings.WriteString(L"/LanguageFile", c.stored);
        }
        Application& a = Start();
        EXPECT_EQ(a.RecycleBinPath(), data + c.recycleBin) << label.c_str();
        EXPECT_EQ(Texts().TextOf(kTitle_App), L"Vellomar Notes 3") << label.c_str();
        app.reset();
    }
}

TEST_F(ApplicationTest, ColourThemeIndexOutOfRangeStartsWithTheFirstTheme) {
    SettingsStore settings(SettingsPath());
    // The last theme and one past it; the other values are the settings' own test.
    for (int32_t stored : {7, 8}) {
        settings.WriteInt(L"/SkinColorThemeIndex", stored);
        ASSERT_EQ(Start().NoteSkin().colorThemes.size(), 8u) << "the Default skin";
        EXPECT_EQ(app->ColorThemeIndex(), stored == 7 ? 7u : 0u) << stored;
        app.reset();
    }
}

// A single click waits out the double-click time and makes nothing; a double
// click makes exactly one note, in the tray corner. The icon comes back when
// the taskbar is made again.
TEST_F(ApplicationTest, TrayIconClicksAndTaskbarRestart) {
    Application& a = Start();
    Tray(WM_LBUTTONUP);
    EXPECT_TRUE(a.TrayAndHotKeys().ClickPending());
    EXPECT_TRUE(
        PumpUntil([&] { return !a.TrayAndHotKeys().ClickPending(); }, GetDoubleClickTime() + 2000));
    EXPECT_TRUE(a.Notes().empty());

    Tray(WM_LBUTTONUP);
    Tray(WM_LBUTTONDBLCLK);
    Tray(WM_LBUTTONUP);  // the button-up after the double click starts no timer
    PumpFor(GetDoubleClickTime() + 200);
    ASSERT_EQ(a.Notes().size(), 1u);
    const RECT work = Arrange::WorkAreaOf(a.Main().Handle());
    const RECT note = a.Notes().front()->WindowRect();
    const int margin = 3 * a.Settings().snapGap;
    EXPECT_LE(note.right, work.right - margin + 1);
    EXPECT_LE(note.bottom, work.bottom - margin + 1);
    EXPECT_GT(note.left, (work.left + work.right) / 2);
    EXPECT_GT(note.top, (work.top + work.bottom) / 2);

    NOTIFYICONDATAW icon = a.TrayAndHotKeys().Tray().Data();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
    a.Main().Send(TaskbarCreatedMessage());
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &icon));
}

// Types the characters as keyboard input: they go where the system sends a
// person's typing (the foreground window's focus), not to a chosen window.
void TypeAsAPerson(const std::wstring& text) {
    std::vector<INPUT> keys;
    for (wchar_t c : text)
        for (DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = c;
            key.ki.dwFlags = KEYEVENTF_UNICODE | up;
            keys.push_back(key);
        }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    PumpMessages();
}

// A note made from the tray icon or the new-note hot key takes the keyboard at
// once, whatever window had it: the typing goes into its editor. An
// activation granted after the editor opened (a window manager's, late) that
// focuses the note leaves the keyboard with the editor too.
TEST_F(ApplicationTest, ANewNoteTakesTheKeyboardFromTheTrayAndTheHotKey) {
    Application& a = Start();
    HWND other = CreateWindowExW(0, L"STATIC", L"the shell", WS_POPUP | WS_VISIBLE, 10, 700, 120,
                                 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    auto othersTurn = [&] {
        SetForegroundWindow(other);
        PumpMessages();
        ASSERT_EQ(GetForegroundWindow(), other);
    };
    auto typedLandsIn = [&](NoteWindow* note, const std::wstring& typed,
                            const std::wstring& holds) {
        SCOPED_TRACE(testing::Message() << "typing " << typed.c_str());
        ASSERT_TRUE(note && note->Editing());
        EXPECT_EQ(GetForegroundWindow(), note->Handle());
        EXPECT_EQ(GetFocus(), note->EditorHandle());
        TypeAsAPerson(typed);
        wchar_t text[64] = {};
        GetWindowTextW(note->EditorHandle(), text, 64);
        EXPECT_EQ(std::wstring(text), holds);
    };

    othersTurn();
    Tray(WM_LBUTTONUP);
    Tray(WM_LBUTTONDBLCLK);
    ASSERT_EQ(a.Notes().size(), 1u);
    NoteWindow* fromTray = a.Notes().back().get();
    Tray(WM_LBUTTONUP);
    typedLandsIn(fromTray, L"tray", L"tray");

    othersTurn();
    a.Main().Send(WM_HOTKEY, HotKeys::kFirstId + kHotKeyNewNote, 0);
    ASSERT_EQ(a.Notes().size(), 2u);
    NoteWindow* fromKey = a.Notes().back().get();
    typedLandsIn(fromKey, L"key", L"key");

    // The focus given to the note as its late activation does.
    SetFocus(fromKey->Handle());
    PumpMessages();
    typedLandsIn(fromKey, L"s", L"keys");
    DestroyWindow(other);
}

TEST_F(ApplicationTest, HandOverOpensTheFileAsANoteReadingOnlyTheGivenBytes) {
    Application& a = Start();
    const std::wstring path = data + L"hand over.txt";
    ASSERT_TRUE(FileIo::WriteFileAtomically(path,
                                            "Gr\xC3\xBC\xC3\x9F"
                                            "e\r\nzwei"));
    // No terminating zero, and garbage right after the counted bytes.
    std::wstring buffer = path + L"XYZ";
    COPYDATASTRUCT copy = {42, static_cast<DWORD>(path.size() * sizeof(wchar_t)), &buffer[0]};
    a.Main().Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    EXPECT_TRUE(a.Notes().empty()) << "not a hand-over";
    copy.dwData = 1102217;
    a.Main().Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_EQ(a.Notes().front()->Data().text.substr(0, 11), L"Gr\u00FC\u00DFe\r\nzwei");
}

// Message boxes of this thread: shown, or being made.
int OpenMessageBoxes() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770") ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Hand-overs that arrive while a message about an earlier one is open wait for
// it to close; a path as long as Windows allows is told about, shortened; a
// longer hand-over is refused unread.
TEST_F(ApplicationTest, HandOversOpenOneAtATimeAndLongOnesAreShortenedOrRefused) {
    Application& a = Start();
    const auto handOver = [&a](const std::wstring& path) {
        std::vector<unsigned char> bytes = EncodeHandOverPayload(path);
        COPYDATASTRUCT copy = {1102217, static_cast<DWORD>(bytes.size()), bytes.data()};
        a.Main().Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    };
    int sent = 1;
    int mostOpen = 0;
    {
        DialogAnswers answers({}, [&](HWND) {
            mostOpen = std::max(mostOpen, OpenMessageBoxes());
            // More starts hand their files over while this box is open.
            while (sent < 4) handOver(data + L"missing " + std::to_wstring(sent++) + L".txt");
            return false;
        });
        handOver(data + L"missing 0.txt");
        PumpMessages();
        ASSERT_EQ(answers.Texts().size(), 4u);
        EXPECT_EQ(mostOpen, 1);
        for (size_t i = 0; i < 4; ++i) {
            const std::wstring& text = answers.Texts()[i];
            EXPECT_NE(text.find(L"missing " + std::to_wstring(i) + L".txt"), std::wstring::npos);
        }
    }
    {
        DialogAnswers answers;
        const std::wstring longest =
            L"C:\\" + std::wstring(kMaxHandOverUnits - 3 - 6, L'd') + L"\\x.txt";
        ASSERT_EQ(longest.size(), kMaxHandOverUnits);
        handOver(longest);
        PumpMessages();
        ASSERT_EQ(answers.Texts().size(), 1u);
        EXPECT_LT(answers.Texts()[0].size(), 2 * kMessagePathUnits);
        const std::wstring& told = answers.Texts()[0];
        EXPECT_NE(told.find(L"C:\\ddd"), std::wstring::npos) << TestPaths::Narrow(told);
        EXPECT_NE(told.find(L"ddd\u2026ddd"), std::wstring::npos) << TestPaths::Narrow(told);
        EXPECT_EQ(told.substr(told.size() - 6), L"\\x.txt");
        handOver(longest + L"d");
        handOver(std::wstring(1 << 19, L'x'));
        PumpMessages();
        EXPECT_EQ(answers.Texts().size(), 1u) << "refused without a word";
    }
    EXPECT_TRUE(a.Notes().empty());
}

TEST_F(ApplicationTest, NoNoteIsMadeWhileNotesAreHidden) {
    Application& a = Start();
    ASSERT_NE(a.CreateNote(L"one", false, true), nullptr);
    ShowHideKey();
    EXPECT_FALSE(IsWindowVisible(a.Notes().front()->Handle()));
    EXPECT_EQ(a.CreateNote(L"two", false, true), nullptr);
    ShowHideKey();
    EXPECT_TRUE(IsWindowVisible(a.Notes().front()->Handle()));
    EXPECT_EQ(a.Notes().size(), 1u);
}

// When the system will not make a note's window (here the second and the
// fourth), the record is not lost: every save writes it back, and the user is
// told once how many notes could not be shown.
TEST_F(ApplicationTest, RecordsWithoutAWindowAreKeptByEverySaveAndTheUserIsToldOnce) {
    Application& a = Start();
    std::vector<NoteData> stored;
    for (int i = 0; i < 4; ++i)
        stored.push_back(
            Record({100 + 40 * i, 100, 300 + 40 * i, 250}, L"record " + std::to_wstring(i)));
    SeedNotes(stored);
    int made = 0;
    a.SetNoteMaker([&](const NoteData& record) -> std::unique_ptr<NoteWindow> {
        if (++made % 2 == 0) return nullptr;
        return std::make_unique<NoteWindow>(a, a.LayeredWindows(), record);
    });
    DialogAnswers boxes;
    a.LoadNotes();
    ASSERT_EQ(a.Notes().size(), 2u);
    ASSERT_EQ(a.UnshownNotes().size(), 2u);
    EXPECT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 2000));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find(L"2"), std::wstring::npos)
        << TestPaths::Narrow(boxes.Texts()[0]);

    // A change saves the file: the new note, the live ones and the kept records.
    ASSERT_NE(a.CreateNote(L"new", false, true), nullptr);
    a.Notes().front()->SetPriority(kPriorityHigh);
    PumpMessages();
    EXPECT_EQ(boxes.Texts().size(), 1u);
    const std::vector<NoteData> saved = SavedNotes();
    std::vector<std::wstring> texts;
    for (const NoteData& n : saved) texts.push_back(n.text);
    EXPECT_EQ(
        (std::vector<std::wstring>{L"record 0", L"record 2", L"new", L"record 1", L"record 3"}),
        texts);
    ASSERT_EQ(saved.size(), 5u);
    EXPECT_EQ(saved[3], a.UnshownNotes()[0]);
    EXPECT_EQ(saved[4], a.UnshownNotes()[1]);
}

// A hostile notes file: sizes of 32767 and 100000 pixels a side, and more
// records than the program may make windows for. The sizes stop at the work
// area; the records past the quota get no window, stay in the file as they
// were, and the user is told.
TEST_F(ApplicationTest, LoadedSizesStopAtTheWorkAreaAndRecordsPastTheQuotaAreKept) {
    Application& a = Start();
    const RECT work = Arrange::WorkAreaOf(a.Main().Handle());
    std::vector<NoteData> stored = {Record({30, 40, 32797, 32807}, L"huge"),
                                    Record({50, 60, 100050, 100060}, L"huger")};
    for (int i = 0; i < 4; ++i)
        stored.push_back(Record({100 + 10 * i, 100, 300 + 10 * i, 250}, L"r" + std::to_wstring(i)));
    stored.push_back(Record({-90000, 70, 10000, 80000}, L"past the quota, as it was"));
    SeedNotes(stored);
    a.SetNoteWindowLimit(4);
    int made = 0;
    a.SetNoteMaker([&](const NoteData& record) {
        ++made;
        return std::make_unique<NoteWindow>(a, a.LayeredWindows(), record);
    });
    DialogAnswers boxes;
    a.LoadNotes();
    EXPECT_EQ(made, 4) << "no window is tried past the quota";
    ASSERT_EQ(a.Notes().size(), 4u);
    ASSERT_EQ(a.UnshownNotes().size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        const RECT r = a.Notes()[i]->WindowRect();
        EXPECT_LE(r.right - r.left, work.right - work.left) << i;
        EXPECT_LE(r.bottom - r.top, work.bottom - work.top) << i;
        EXPECT_GE(r.right - r.left, 100) << i;
    }
    EXPECT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 2000));
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find(L"3"), std::wstring::npos);
    EXPECT_EQ(a.UnshownNotes()[0].text, L"r2");
    EXPECT_EQ(a.UnshownNotes()[2].text, stored[6].text);
    EXPECT_EQ(a.UnshownNotes()[2].rect, stored[6].rect);
}

}  // namespace

namespace {

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

}  // namespace

// Two starts in one process, as a restart makes them, with different options:
// each reads its own folder and language, only the one given a file and a
// command runs them, and neither moves the process's current folder.
TEST_F(ApplicationTest, TwoStartsInOneProcessKeepTheirOwnOptions) {
    const std::wstring before = CurrentFolder();
    SettingsStore(SettingsPath()).WriteString(L"/LanguageFile", L"German.ini");
    const std::wstring file = data + L"from the command line.txt";
    ASSERT_TRUE(FileIo::WriteFileAtomically(file, "opened once"));
    StartOptions first = Options();
    first.firstOfProcess = true;
    first.fileToOpen = file;
    first.command = ScriptCommand{ScriptAction::NewNote, L"from a script"};
    {
        Application& a = Start(first);
        EXPECT_EQ(a.RecycleBinPath(), data + L"Papierkorb.txt");
        ASSERT_EQ(a.Notes().size(), 2u);
        EXPECT_EQ(a.Notes()[0]->Data().text, L"opened once");
        EXPECT_EQ(a.Notes()[1]->Data().text, L"from a script");
        EXPECT_EQ(CurrentFolder(), before);
        app.reset();
    }
    ASSERT_EQ(SavedNotes().size(), 2u);

    StartOptions second;
    second.firstOfProcess = false;
    second.dataFolder = TestPaths::MakeScratchDir();
    Application& b = Start(second);
    EXPECT_EQ(b.NotesFilePath(), second.dataFolder + L"Notes.dat");
    EXPECT_TRUE(b.Notes().empty()) << "neither the file nor the command again";
    EXPECT_EQ(b.RecycleBinPath(), second.dataFolder + L"Recycle Bin.txt");
    EXPECT_EQ(Texts().TextOf(kRecycleBinFile), L"Recycle Bin.txt")
        << "not the first start's language";
    EXPECT_EQ(CurrentFolder(), before);
}
