// The Find notes window over the application's notes: opened from the main
// menu and its hot key, filtered as the user types (case and accents aside),
// driven from the keyboard, showing a hidden note and deleting one.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ApplicationFixture.h"
#include "app/HotKeys_win.h"
#include "main/FindNotes_win.h"
#include "main/NoteSearch.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/RecycleBin.h"
#include "support/DialogAnswers_win.h"
#include "ui/Window_win.h"

namespace {

class FindNotesTest : public ApplicationFixture {
protected:
    FindNotesWindow& Open() {
        app->Main().Send(WM_COMMAND, IDM_FIND_NOTES, 0);
        PumpMessages();
        EXPECT_NE(app->FindNotes(), nullptr);
        return *app->FindNotes();
    }
    void Type(FindNotesWindow& find, const std::wstring& text) {
        // As typed: the edit control's change notification filters.
        SetDlgItemTextW(find.Handle(), IDC_FIND_TEXT, text.c_str());
        PumpMessages();
    }
    int ListCount(FindNotesWindow& find) { return ListView_GetItemCount(find.List()); }
    // A key pressed in a window of the program, through the program's own
    // message loop step: window objects see it before it is dispatched.
    void Key(HWND window, WPARAM key) {
        MSG message = {window, WM_KEYDOWN, key, 0, GetTickCount(), {}};
        if (PreTranslateKeyMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        PumpFor(30);
    }
    int Selected(FindNotesWindow& find) {
        return ListView_GetNextItem(find.List(), -1, LVNI_SELECTED);
    }
    std::vector<std::wstring> Titles(FindNotesWindow& find) {
        std::vector<std::wstring> titles;
        for (size_t i = 0; i < find.Shown().size(); ++i) titles.push_back(find.CellText(i, 0));
        return titles;
    }
};

TEST_F(FindNotesTest, FiltersAsTheUserTypesAndHighlightsTheMatches) {
    NoteData locked = Record({400, 100, 600, 250}, L"Noir, sans sucre", L"Caf\u00E9 recipe");
    locked.locked = true;
    locked.priority = kPriorityHigh;
    SeedNotes({Record({100, 100, 300, 250}, L"Shopping\r\nBREAD, cafe au lait"),
               Record({100, 300, 300, 450}, L"Meeting at nine", L"", true), locked,
               Record({400, 300, 600, 450}, L"na\u00EFve \u00C9COLE")});
    Start();
    FindNotesWindow& find = Open();
    ASSERT_TRUE(IsWindowVisible(find.Handle()));
    // Every note, the hidden one too, in the notes' order.
    EXPECT_EQ(ListCount(find), 4);
    EXPECT_EQ(Titles(find),
              (std::vector<std::wstring>{L"Shopping", L"Meeting at nine", L"Caf\u00E9 recipe",
                                         L"na\u00EFve \u00C9COLE"}));
    EXPECT_EQ(find.CellText(1, 3), L"hidden");
    EXPECT_EQ(find.CellText(2, 3), L"locked");
    EXPECT_EQ(find.CellText(2, 1), L"High");
    EXPECT_EQ(find.CellText(0, 2), L"");  // no alarm

    Type(find, L"CAF\u00C9");  // the title of one, the text of the other
    EXPECT_EQ(Titles(find), (std::vector<std::wstring>{L"Shopping", L"Caf\u00E9 recipe"}));
    EXPECT_EQ(ListCount(find), 2);
    EXPECT_TRUE(find.Highlights(0).empty()) << "the match is in the text, not the title";
    EXPECT_EQ(find.Highlights(1), (std::vector<std::pair<size_t, size_t>>{{0, 4}}));
    Type(find, L"  cafe   SUCRE ");  // every word, in title or text
    EXPECT_EQ(Titles(find), (std::vector<std::wstring>{L"Caf\u00E9 recipe"}));
    Type(find, L"naive ecole");
    EXPECT_EQ(Titles(find), (std::vector<std::wstring>{L"na\u00EFve \u00C9COLE"}));
    EXPECT_EQ(find.Highlights(0), (std::vector<std::pair<size_t, size_t>>{{0, 5}, {6, 11}}));
    Type(find, L"cafe tea");
    EXPECT_EQ(ListCount(find), 0);
    Type(find, L"");
    EXPECT_EQ(ListCount(find), 4);

    // Escape closes; the hot key opens it again.
    PostMessageW(find.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return find.Handle() == nullptr; }, 5000));
    app->Main().Send(WM_HOTKEY, HotKeys::kFirstId + kHotKeyFindNotes, 0);
    EXPECT_TRUE(PumpUntil([&] { return find.Handle() != nullptr; }, 5000));
}

TEST_F(FindNotesTest, KeyboardChoosesShowsAHiddenNoteAndDeletesOne) {
    SeedNotes({Record({100, 100, 300, 250}, L"alpha one"),
               Record({100, 300, 300, 450}, L"alpha two, hidden", L"", true),
               Record({400, 100, 600, 250}, L"beta")});
    Application& a = Start();
    FindNotesWindow& find = Open();
    Type(find, L"alpha");
    EXPECT_EQ(Selected(find), 0);
    // The arrow keys in the search box move through the list.
    HWND box = GetDlgItem(find.Handle(), IDC_FIND_TEXT);
    EXPECT_EQ(GetFocus(), box);
    Key(box, VK_DOWN);
    EXPECT_EQ(Selected(find), 1);
    EXPECT_EQ(GetFocus(), box);

    // Enter shows the hidden note, in front.
    Key(box, VK_RETURN);
    NoteWindow* hidden = a.Notes()[1].get();
    EXPECT_FALSE(hidden->Hidden());
    EXPECT_TRUE(IsWindowVisible(hidden->Handle()));
    EXPECT_EQ(GetForegroundWindow(), hidden->Handle());
    EXPECT_FALSE(SavedNotes()[1].hidden);

    // Delete in the list asks first; no keeps the note, yes moves it to the bin.
    DialogAnswers answers({IDNO, IDYES});
    Open();
    Type(find, L"beta");
    HWND list = find.List();
    SetFocus(list);
    Key(list, VK_DELETE);
    EXPECT_EQ(a.Notes().size(), 3u);
    Key(list, VK_DELETE);
    ASSERT_EQ(answers.Texts().size(), 2u);
    EXPECT_NE(answers.Texts()[1].find(L"beta"), std::wstring::npos);
    EXPECT_EQ(a.Notes().size(), 2u);
    EXPECT_EQ(ListCount(find), 0) << "the list follows the deletion";
    std::string bin;
    ASSERT_TRUE(FileIo::ReadFile(a.RecycleBinPath(), bin));
    EXPECT_EQ(bin.size(), (4 + 79) * 2u);
}

// The folding the search uses agrees with the system's own comparison
// (FindNLSStringEx ignoring case and nonspacing marks) on what a user types.
// One known difference: the system also finds "strasse" in "Stra\u00DFe"; the
// folding keeps the sharp s as it is.
TEST(SystemSearchFolding, AgreesWithTheSystemsComparison) {
    const struct {
        const wchar_t *text, *word;
    } cases[] = {
        {L"Caf\u00E9 au lait", L"CAFE"},
        {L"na\u00EFve", L"NAIVE"},
        {L"\u00C9cole", L"ecole"},
        {L"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1", L"\u03b5\u03bb\u03bb\u03b1\u03b4\u03b1"},

        {L"M\u00FCller", L"muller"},
        {L"\u00C5ngstr\u00F6m", L"angstrom"},
        {L"tea", L"cafe"},
        {L"Cafe\u0301", L"caf\u00E9"},
        {L"\u0130stanbul", L"istanbul"},
    };
    NoteSearch::Folder folder(SystemSearchFolding);
    for (const auto& c : cases) {
        int found = 0;
        const bool system =
            FindNLSStringEx(LOCALE_NAME_USER_DEFAULT,
                            FIND_FROMSTART | NORM_IGNORECASE | NORM_IGNORENONSPACE, c.text, -1,
                            c.word, -1, &found, nullptr, nullptr, 0) >= 0;
        const bool ours = NoteSearch::MatchesAll(NoteSearch::FoldedWords(folder, c.word),
                                                 folder.Fold(c.text), folder.Fold(L""));
        EXPECT_EQ(ours, system) << TestPaths::Narrow(c.text) << " / " << TestPaths::Narrow(c.word);
    }
}

}  // namespace
