// The main menu's commands, sent to the main window as WM_COMMAND the way the
// menu sends them; their questions and file dialogs answered by a CBT hook.
#include <algorithm>

#include "ApplicationFixture.h"
#include "support/DialogAnswers_win.h"
#include "base/ProgramInfo.h"
#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "lang/LanguageTable.h"
#include "main/MenuLists.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "skin/SkinTint.h"
#include "store/FileIo.h"
#include "store/NotesFile.h"
#include "store/SettingsStore.h"

namespace {

const std::string kSeparator = "\r\n" + std::string(75, '=') + "\r\n";

class ApplicationCommandsTest : public ApplicationFixture {
protected:
    void SetUp() override {
        // Exact places: nothing may pull a moved note to an edge or a neighbour.
        SettingsStore settings(SettingsPath());
        settings.WriteBool(L"/Settings/SnapNotes", false);
    }
    void Command(UINT id) {
        app->Main().Send(WM_COMMAND, id, 0);
        PumpMessages();
    }
    // Opens the main menu, which fills its lists, and closes it again.
    void OpenAndCloseMainMenu() {
        SetTimer(nullptr, 0, 150, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            EndMenu();
        });
        app->ShowMainMenu(false);
        PumpMessages();
    }
    static Rect RectOf(const NoteWindow* note) { return ToPortable(note->WindowRect()); }
    static Rect RectOf(const std::unique_ptr<NoteWindow>& note) {
        return RectOf(static_cast<const NoteWindow*>(note.get()));
    }
};

TEST_F(ApplicationCommandsTest, HiddenNotesComeBackFromUnhideAndFromTheNotesList) {
    SeedNotes({Record({100, 100, 300, 250}, L"one", L"", true),
               Record({400, 100, 600, 250}, L"two"),
               Record({700, 100, 900, 250}, L"three", L"", true)});
    Application& a = Start();
    ASSERT_EQ(a.Notes().size(), 3u);
    EXPECT_FALSE(IsWindowVisible(a.Notes()[0]->Handle()));

    // Choosing a hidden note from the list shows it and brings it forward.
    Command(MenuLists::kFirstNoteId + 2);
    EXPECT_FALSE(a.Notes()[2]->Hidden());
    EXPECT_TRUE(IsWindowVisible(a.Notes()[2]->Handle()));
    EXPECT_EQ(GetForegroundWindow(), a.Notes()[2]->Handle());
    EXPECT_FALSE(SavedNotes()[2].hidden);
    // Past the end of the list: nothing.
    Command(MenuLists::kFirstNoteId + 3);

    a.Notes()[2]->Hide();
    Command(IDM_UNHIDE_NOTES);
    for (const auto& note : a.Notes()) {
        EXPECT_FALSE(note->Hidden());
        EXPECT_TRUE(IsWindowVisible(note->Handle()));
    }
    for (const NoteData& saved : SavedNotes()) EXPECT_FALSE(saved.hidden) << saved.text.c_str();

    // While all notes are put away, unhiding clears the flag but shows
    // nothing, and the list does nothing at all.
    a.Notes()[0]->Hide();
    Command(IDM_SHOW_NOTES);
    ASSERT_FALSE(a.NotesShown());
    Command(MenuLists::kFirstNoteId);
    EXPECT_TRUE(a.Notes()[0]->Hidden());
    Command(IDM_UNHIDE_NOTES);
    EXPECT_FALSE(a.Notes()[0]->Hidden());
    EXPECT_FALSE(IsWindowVisible(a.Notes()[0]->Handle()));
    Command(IDM_SHOW_NOTES);
    EXPECT_TRUE(IsWindowVisible(a.Notes()[0]->Handle()));
}

// The commands that act on windows and settings at once.
TEST_F(ApplicationCommandsTest, NotesAndMainWindowCommands) {
    SeedNotes(
        {Record({100, 100, 300, 250}, L"one"), Record({400, 100, 600, 250}, L"two", L"", true)});
    Application& a = Start();

    Command(IDM_NEW_NOTE);
    ASSERT_EQ(a.Notes().size(), 3u);
    EXPECT_TRUE(a.Notes()[2]->Editing());
    SendMessageW(a.Notes()[2]->EditorHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return a.Notes().size() == 2u; }, 2000))
        << "a new note left blank goes again";

    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
    const std::wstring clip = L"from the clipboard";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (clip.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), clip.c_str(), (clip.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    Command(IDM_NEW_NOTE_FROM_CLIPBOARD);
    ASSERT_EQ(a.Notes().size(), 3u);
    EXPECT_EQ(a.Notes()[2]->Text(), clip);

    // Show/hide twice: the hidden note stays hidden, the others come back.
    Command(IDM_SHOW_NOTES);
    EXPECT_FALSE(IsWindowVisible(a.Notes()[0]->Handle()));
    EXPECT_EQ(ReadSetting(L"/ShowNotes"), L"0");
    Command(IDM_SHOW_NOTES);
    EXPECT_TRUE(IsWindowVisible(a.Notes()[0]->Handle()));
    EXPECT_FALSE(IsWindowVisible(a.Notes()[1]->Handle()));

    // Bring to top: the last note of the list ends above the first.
    SetWindowPos(a.Notes()[2]->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Command(IDM_BRING_NOTES_TO_TOP);
    HWND above = a.Notes()[2]->Handle();
    while (above && above != a.Notes()[0]->Handle()) above = GetWindow(above, GW_HWNDNEXT);
    EXPECT_EQ(above, a.Notes()[0]->Handle()) << "the first note is below the last";

    Command(IDM_MAIN_ALWAYS_ON_TOP);
    EXPECT_FALSE(a.Main().IsTopmost());
    EXPECT_EQ(ReadSetting(L"/MainWindow/AlwaysOnTop"), L"0");
    Command(IDM_SHOW_MAIN_WINDOW);
    EXPECT_FALSE(IsWindowVisible(a.Main().Handle()));
    EXPECT_EQ(ReadSetting(L"/MainWindow/Visible"), L"0");

    // Exit closes every window and leaves Notes.dat as the last change made it.
    const std::vector<NoteData> before = SavedNotes();
    const HWND mainWindow = a.Main().Handle();
    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(restart);
    EXPECT_EQ(SavedNotes().size(), before.size());
}

TEST_F(ApplicationCommandsTest, LanguageChoiceRestartsWithEveryNoteInPlace) {
    SeedNotes({Record({100, 120, 300, 270}, L"one"), Record({-50, 300, 150, 450}, L"two", L"T"),
               Record({700, 500, 900, 650}, L"three", L"", true)});
    Application& a = Start();
    std::vector<Rect> before;
    for (const auto& note : a.Notes()) before.push_back(RectOf(note));
    const HWND mainWindow = a.Main().Handle();

    OpenAndCloseMainMenu();
    const auto& names = a.Commands().LanguageFileNames();
    const auto german = std::find(names.begin(), names.end(), L"German.ini");
    ASSERT_NE(german, names.end());
    Command(MenuLists::kFirstLanguageId + static_cast<UINT>(german - names.begin()));
    EXPECT_TRUE(restart);
    EXPECT_TRUE(a.Commands().LanguageFileNames().empty());
    EXPECT_EQ(ReadSetting(L"/LanguageFile"), L"German.ini");
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(mainWindow); }, 2000)) << "closed for the restart";

    app.reset();
    restart = false;
    Application& b = Start();
    EXPECT_EQ(b.RecycleBinPath(), data + L"Papierkorb.txt");
    ASSERT_EQ(b.Notes().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(RectOf(b.Notes()[i]), before[i]) << i;
    EXPECT_TRUE(b.Notes()[2]->Hidden());
    EXPECT_EQ(b.Notes()[1]->Title(), L"T");
}

TEST_F(ApplicationCommandsTest, SkinAndThemeChoicesRestartInThem) {
    Application& a = Start();
    OpenAndCloseMainMenu();
    const auto& skins = a.Commands().SkinFolderNames();
    const auto classic = std::find(skins.begin(), skins.end(), L"Classic");
    ASSERT_NE(classic, skins.end());
    Command(MenuLists::kFirstSkinId + static_cast<UINT>(classic - skins.begin()));
    EXPECT_TRUE(restart);
    EXPECT_EQ(ReadSetting(L"/SkinName"), L"Classic");
    app.reset();

    restart = false;
    SettingsStore(SettingsPath()).WriteString(L"/SkinName", L"Default");
    Application& b = Start();
    const size_t themes = b.NoteSkin().colorThemes.size();
    ASSERT_GT(themes, 3u);
    // A list entry that no longer exists, and the languages with no list at
    // all: nothing happens.
    Command(MenuLists::kFirstColorThemeId + static_cast<UINT>(themes) + 1);
    Command(MenuLists::kFirstLanguageId);
    EXPECT_FALSE(restart);

    Command(MenuLists::kFirstColorThemeId + 2);
    EXPECT_TRUE(restart);
    EXPECT_FALSE(IsWindowVisible(b.Main().Handle()));
    EXPECT_EQ(ReadSetting(L"/SkinColorThemeIndex"), L"2");
    app.reset();

    // The current theme chosen again still restarts.
    restart = false;
    Application& c = Start();
    EXPECT_EQ(c.ColorThemeIndex(), 2u);
    Command(MenuLists::kFirstColorThemeId + 2);
    EXPECT_TRUE(restart);
}

TEST_F(ApplicationCommandsTest, ApplyThemeTintsTheLiveSkinAndKeepsTheIndex) {
    Application& a = Start();
    const Skin& skin = a.NoteSkin();
    ASSERT_GT(skin.colorThemes.size(), 3u);
    a.Commands().ApplyTheme(3);
    EXPECT_EQ(a.ColorThemeIndex(), 3u);
    EXPECT_EQ(ReadSetting(L"/SkinColorThemeIndex"), L"3");
    EXPECT_EQ(skin.themedTextColor, Multiply(skin.textColor, skin.colorThemes[3].color));
    EXPECT_EQ(skin.themedTextBackgroundColor,
              Multiply(skin.textBackgroundColor, skin.colorThemes[3].color));
    // The current index again, or one past the end: nothing is written.
    ASSERT_TRUE(FileIo::RemoveFile(SettingsPath()));
    a.Commands().ApplyTheme(3);
    a.Commands().ApplyTheme(static_cast<uint32_t>(skin.colorThemes.size()));
    EXPECT_FALSE(FileIo::FileExists(SettingsPath()));
    EXPECT_EQ(a.ColorThemeIndex(), 3u);
}

TEST_F(ApplicationCommandsTest, ImportOfThePredecessorsNotes) {
    const std::wstring folder = data + L"Vellomar Notes 2\\";
    Application& a = Start();
    ASSERT_EQ(a.Commands().OldNotesFolder(), folder);
    {
        // No folder yet: the user is told, nothing is made.
        DialogAnswers answers({{IDYES, L""}, {IDOK, L""}});
        Command(IDM_NEW_NOTE_FROM_ZEPHYN2);
        ASSERT_EQ(answers.Texts().size(), 2u);
        EXPECT_EQ(answers.Texts()[1], Texts().TextOf(kZephyn2Import_NoneFound));
    }
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const struct {
        const char* name;
        const char* contents;
    } files[] = {
        {"a.zn", "[Default]\r\nText=Line%0D%0Anext%25 and 50% off\r\nRect=100,150,300,330\r\n"},
        {"b.zn", "[Default]\r\nText=no place\r\nRect=not a rectangle\r\n"},
        {"c.zn", "[Default]\r\nText=far away\r\nRect=9000,9000,9200,9150\r\n"},
        {"d.zn", "[Default]\r\nRect=400,150,600,330\r\n"},
        {"e.txt", "[Default]\r\nText=not a note file\r\n"},
    };
    for (const auto& f : files) {
        ASSERT_TRUE(FileIo::WriteFileAtomically(folder + TestPaths::Widen(f.name), f.contents));
    }
    {
        DialogAnswers answers({{IDNO, L""}});
        Command(IDM_NEW_NOTE_FROM_ZEPHYN2);
        EXPECT_EQ(answers.Texts().size(), 1u);
        EXPECT_TRUE(a.Notes().empty());
    }
    DialogAnswers answers({{IDYES, L""}});
    Command(IDM_NEW_NOTE_FROM_ZEPHYN2);
    ASSERT_EQ(a.Notes().size(), 4u);
    EXPECT_EQ(a.Notes()[0]->Text(), L"Line\r\nnext% and 50% off");
    EXPECT_EQ(RectOf(a.Notes()[0]), (Rect{100, 150, 300, 330}));
    EXPECT_EQ(a.Notes()[3]->Text(), L"");
    EXPECT_EQ(RectOf(a.Notes()[3]), (Rect{400, 150, 600, 330}));
    // Without a usable place: inside the work area, not on top of each other.
    const RECT work = Arrange::WorkAreaOf(a.Main().Handle());
    for (int i : {1, 2}) {
        const Rect r = RectOf(a.Notes()[i]);
        EXPECT_TRUE(r.left >= work.left && r.right <= work.right && r.top >= work.top &&
                    r.bottom <= work.bottom)
            << i;
        EXPECT_TRUE(IsWindowVisible(a.Notes()[i]->Handle()));
    }
    EXPECT_NE(RectOf(a.Notes()[1]), RectOf(a.Notes()[2]));
    EXPECT_EQ(SavedNotes().size(), 4u);
    // The old files stay as they were.
    std::string kept;
    ASSERT_TRUE(FileIo::ReadFile(folder + L"a.zn", kept));
    EXPECT_EQ(kept, files[0].contents);
}

TEST_F(ApplicationCommandsTest, ExportWritesEveryNoteAndReadsBackByteForByte) {
    SeedNotes({Record({100, 100, 300, 250}, L"first\r\nline"),
               Record({400, 100, 600, 250}, L"Gr\u00FC\u00DFe", L"Titled"),
               Record({700, 100, 900, 250}, L"hidden", L"", true)});
    Application& a = Start();
    const std::wstring path = data + L"export.txt";
    {
        DialogAnswers answers({{IDOK, path}});
        Command(IDM_EXPORT_NOTES);
    }
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(path, bytes));
    EXPECT_EQ(bytes, "first\r\nline" + kSeparator +
                         "Titled\r\nGr\xFC\xDF"
                         "e" +
                         kSeparator + "hidden" + kSeparator);

    // A character beyond 8 bits: the whole file becomes UTF-8 with a BOM, and
    // the existing file is replaced after the overwrite question.
    a.Notes()[2]->SetText(L"\u20AC");
    {
        DialogAnswers answers({{IDOK, path}, {IDYES, L""}});
        Command(IDM_EXPORT_NOTES);
    }
    ASSERT_TRUE(FileIo::ReadFile(path, bytes));
    EXPECT_EQ(bytes,
              "\xEF\xBB\xBF"
              "first\r\nline" +
                  kSeparator +
                  "Titled\r\nGr\xC3\xBC\xC3\x9F"
                  "e" +
                  kSeparator + "\xE2\x82\xAC" + kSeparator);

    // Cancelled: nothing written. A file that cannot be replaced: said so.
    ASSERT_TRUE(FileIo::RemoveFile(path));
    {
        DialogAnswers answers({{IDCANCEL, L""}});
        Command(IDM_EXPORT_NOTES);
        EXPECT_FALSE(FileIo::FileExists(path));
    }
    const std::wstring locked = data + L"locked.txt";
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        DialogAnswers answers({{IDOK, locked}, {IDYES, L""}, {IDOK, L""}});
        Command(IDM_EXPORT_NOTES);
        ASSERT_FALSE(answers.Texts().empty());
        EXPECT_EQ(answers.Texts().back(), Texts().TextOf(kExportFailed));
    }
    CloseHandle(holder);
}

TEST_F(ApplicationCommandsTest, NewNoteFromATextFile) {
    const std::wstring path = data + L"in.txt";
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "from\r\na file"));
    Application& a = Start();
    {
        DialogAnswers answers({{IDCANCEL, L""}});
        Command(IDM_NEW_NOTE_FROM_FILE);
        EXPECT_EQ(answers.Texts().size(), 1u);
        EXPECT_TRUE(a.Notes().empty());
    }
    DialogAnswers answers({{IDOK, path}});
    Command(IDM_NEW_NOTE_FROM_FILE);
    ASSERT_EQ(a.Notes().size(), 1u);
    EXPECT_EQ(a.Notes()[0]->Text().substr(0, 12), L"from\r\na file");
    EXPECT_EQ(SavedNotes().size(), 1u);
}

TEST_F(ApplicationCommandsTest, RecycleBinOpenAndEmpty) {
    Application& a = Start();
    std::vector<std::wstring> opened, shellOpened;
    std::vector<DWORD> results;  // what the system answers, in turn; then success
    a.Commands().SetTextFileOpener([&](const std::wstring& target, const std::wstring& program) {
        opened.push_back(program + L">" + target);
        const DWORD result = results.empty() ? ERROR_SUCCESS : results.front();
        if (!results.empty()) results.erase(results.begin());
        return result;
    });
    a.Commands().SetShellOpener([&](const std::wstring& target, const std::wstring&) {
        shellOpened.push_back(target);
        return DWORD{ERROR_SUCCESS};
    });
    const std::wstring bin = a.RecycleBinPath();

    Command(IDM_RECYCLE_BIN_OPEN);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], L">" + bin);
    EXPECT_TRUE(shellOpened.empty()) << "never by the bin's own extension";
    std::string bytes = "x";
    EXPECT_TRUE(FileIo::ReadFile(bin, bytes) && bytes.empty()) << "created empty to be opened";

    // No program for text files: the user is told what and why, and offered
    // Notepad; a refusal opens nothing more, a failing Notepad is told too.
    for (const int answer : {IDNO, IDYES}) {
        opened.clear();
        results = {ERROR_NO_ASSOCIATION, ERROR_FILE_NOT_FOUND};
        DialogAnswers answers({{answer, L""}, {IDOK, L""}});
        Command(IDM_RECYCLE_BIN_OPEN);
        ASSERT_GE(answers.Texts().size(), 1u);
        const std::wstring& told = answers.Texts()[0];
        EXPECT_NE(told.find(bin), std::wstring::npos) << TestPaths::Narrow(told);
        EXPECT_NE(told.find(Texts().TextOf(kShellOpen_OfferNotepad)), std::wstring::npos);
        if (answer == IDNO) {
            EXPECT_EQ(std::vector<std::wstring>{L">" + bin}, opened);
            EXPECT_EQ(1u, answers.Texts().size());
        } else {
            EXPECT_EQ((std::vector<std::wstring>{L">" + bin, L"notepad.exe>" + bin}), opened);
            ASSERT_EQ(2u, answers.Texts().size());
            EXPECT_EQ(answers.Texts()[1].find(Texts().TextOf(kShellOpen_OfferNotepad)),
                      std::wstring::npos);
        }
    }
    results.clear();
    EXPECT_TRUE(shellOpened.empty()) << "never by the bin's own extension";

    ASSERT_TRUE(FileIo::AppendToFile(bin, "deleted text"));
    {
        DialogAnswers answers({{IDNO, L""}});
        Command(IDM_RECYCLE_BIN_EMPTY);
        ASSERT_EQ(answers.Texts().size(), 1u);
        EXPECT_EQ(answers.Texts()[0], Texts().TextOf(kConfirm_EmptyRecycleBin));
    }
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_EQ(bytes, "deleted text");
    {
        DialogAnswers answers({{IDYES, L""}});
        Command(IDM_RECYCLE_BIN_EMPTY);
    }
    ASSERT_TRUE(FileIo::ReadFile(bin, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(ApplicationCommandsTest, AboutShowsTheVersionAndOffersTheHomePage) {
    Application& a = Start();
    std::vector<std::wstring> opened;
    a.Commands().SetShellOpener([&](const std::wstring& target, const std::wstring&) {
        opened.push_back(target);
        return opened.size() == 1 ? DWORD{ERROR_SUCCESS} : DWORD{ERROR_NO_ASSOCIATION};
    });
    {
        DialogAnswers answers({{IDNO, L""}});
        Command(IDM_ABOUT);
        ASSERT_EQ(answers.Texts().size(), 1u);
        EXPECT_EQ(answers.Texts()[0].substr(0, 19), L"Vellomar Notes 3.2\n");
        EXPECT_TRUE(opened.empty());
    }
    {
        DialogAnswers answers({{IDYES, L""}});
        Command(IDM_ABOUT);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], ProgramInfo::kHomePage);
        EXPECT_EQ(answers.Texts().size(), 1u) << "opened: nothing more to say";
    }
    // No browser: said, with the address.
    DialogAnswers answers({{IDYES, L""}, {IDOK, L""}});
    Command(IDM_ABOUT);
    ASSERT_EQ(answers.Texts().size(), 2u);
    EXPECT_NE(answers.Texts()[1].find(ProgramInfo::kHomePage), std::wstring::npos);
}

}  // namespace
