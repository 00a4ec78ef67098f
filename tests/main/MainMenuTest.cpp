#include "main/MainMenu_win.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "lang/LanguageTable.h"
#include "main/MenuLists.h"
#include "res/resource.h"
#include "store/Folders_win.h"

namespace {

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        language.Load(ProgramFolder() + L"Languages\\English.ini");
        menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
        ASSERT_NE(menu, nullptr);
        popup = GetSubMenu(menu, 0);
        state.programFolder = ProgramFolder();
    }
    void TearDown() override { DestroyMenu(menu); }

    static bool Grey(HMENU m, UINT at, UINT by = MF_BYPOSITION) {
        return GetMenuState(m, at, by) & MF_GRAYED;
    }
    bool Grey(UINT id) const { return Grey(popup, id, MF_BYCOMMAND); }
    bool Checked(UINT id) const { return GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED; }
    HMENU Sub(int pos) const { return GetSubMenu(GetSubMenu(popup, kSettingsSubmenuPos), pos); }
    void Update() { UpdateMainMenu(popup, state, language, languages, skins); }

    LanguageTable language;
    HMENU menu = nullptr, popup = nullptr;
    MainMenuState state;
    std::vector<std::wstring> languages, skins;
};

TEST_F(MainMenuTest, ItemsFollowTheStateOfNotesAndMainWindow) {
    state.notesShown = false;
    state.noteCount = 2;
    state.noteTexts = {L"a", L"b"};
    state.clipboardHasText = true;
    state.mainVisible = false;
    state.mainTopmost = true;
    Update();
    for (UINT id : {IDM_NEW_NOTE, IDM_NEW_NOTE_FROM_CLIPBOARD, IDM_NEW_NOTE_FROM_FILE,
                    IDM_BRING_NOTES_TO_TOP, IDM_TILE_NOTES, IDM_MAIN_ALWAYS_ON_TOP,
                    IDM_UNHIDE_NOTES, IDM_CHECK_FOR_UPDATES, IDM_CANCEL_CHECK_FOR_UPDATES})
        EXPECT_TRUE(Grey(id)) << id;
    for (UINT id :
         {IDM_EXPORT_NOTES, IDM_RECYCLE_BIN_OPEN, IDM_RECYCLE_BIN_EMPTY, IDM_GENERAL_SETTINGS})
        EXPECT_FALSE(Grey(id)) << id;
    EXPECT_FALSE(Checked(IDM_SHOW_NOTES));
    EXPECT_FALSE(Checked(IDM_SHOW_MAIN_WINDOW));
    EXPECT_TRUE(Checked(IDM_MAIN_ALWAYS_ON_TOP));
    HMENU notes = GetSubMenu(popup, kNotesSubmenuPos);
    ASSERT_EQ(GetMenuItemCount(notes), 1);
    EXPECT_TRUE(Grey(notes, 0));

    state.notesShown = true;
    Update();
    EXPECT_FALSE(Grey(IDM_NEW_NOTE));
    EXPECT_FALSE(Grey(IDM_NEW_NOTE_FROM_CLIPBOARD));
    EXPECT_TRUE(Checked(IDM_SHOW_NOTES));
    ASSERT_EQ(GetMenuItemCount(notes), 2);
    EXPECT_EQ(GetMenuItemID(notes, 1), IDM_FIRST_NOTE + 1u);
    EXPECT_EQ(GetMenuDefaultItem(popup, FALSE, 0), static_cast<UINT>(IDM_NEW_NOTE));
}

TEST_F(MainMenuTest, SelectionListsComeFromTheFoldersUnlessBusy) {
    Update();
    ASSERT_FALSE(languages.empty());
    ASSERT_EQ(GetMenuItemCount(Sub(kLanguagesSubmenuPos)), static_cast<int>(languages.size()));
    EXPECT_EQ(GetMenuItemID(Sub(kLanguagesSubmenuPos), 0), static_cast<UINT>(IDM_FIRST_LANGUAGE));
    EXPECT_EQ(GetMenuItemCount(Sub(kSkinsSubmenuPos)), static_cast<int>(skins.size()));
    for (const std::wstring& skin : skins) EXPECT_NE(skin, L".");

    // While busy, each list offers one enabled item that sends nothing useful,
    // and the names found before are kept for a command already on its way.
    const auto before = languages;
    state.busy = true;
    Update();
    EXPECT_TRUE(Grey(IDM_GENERAL_SETTINGS));
    EXPECT_TRUE(Grey(IDM_EXIT));
    for (int pos : {kLanguagesSubmenuPos, kSkinsSubmenuPos, kColorThemesSubmenuPos}) {
        ASSERT_EQ(GetMenuItemCount(Sub(pos)), 1) << pos;
        EXPECT_EQ(GetMenuItemID(Sub(pos), 0), 0u);
        EXPECT_FALSE(Grey(Sub(pos), 0));
    }
    EXPECT_EQ(languages, before);

    // No folders at all: greyed placeholders.
    state.busy = false;
    state.programFolder = TestPaths::MakeScratchDir();
    Update();
    EXPECT_TRUE(languages.empty());
    ASSERT_EQ(GetMenuItemCount(Sub(kLanguagesSubmenuPos)), 1);
    EXPECT_TRUE(Grey(Sub(kLanguagesSubmenuPos), 0));
}

// Past a few hundred notes the list goes on below "More...", level by level,
// and stops at the end of its identifier range; the next opening with few
// notes leaves no level behind.
TEST_F(MainMenuTest, LongNotesListHangsBelowMoreAndStopsAtItsRange) {
    HMENU notes = GetSubMenu(popup, kNotesSubmenuPos);
    std::vector<std::wstring> texts;
    for (int i = 0; i < 1234; ++i) texts.push_back(L"note " + std::to_wstring(i));
    FillNotesSubmenu(notes, texts, language);
    // The level below is named in the table given.
    wchar_t more[64] = {};
    GetMenuStringW(notes, static_cast<UINT>(GetMenuItemCount(notes) - 1), more, 64, MF_BYPOSITION);
    EXPECT_EQ(language.TextOf(kMainMenu_MoreNotes), more);
    size_t listed = 0;
    int levels = 0;
    UINT lastId = 0;
    for (HMENU level = notes; level; ++levels) {
        const int count = GetMenuItemCount(level);
        HMENU next = GetSubMenu(level, count - 1);
        const int plain = next ? count - 1 : count;
        ASSERT_LE(plain, static_cast<int>(MenuLists::kNotesPerLevel));
        for (int i = 0; i < plain; ++i) {
            EXPECT_EQ(GetMenuItemID(level, i), MenuLists::kFirstNoteId + listed) << listed;
            lastId = GetMenuItemID(level, i);
            ++listed;
        }
        level = next;
    }
    EXPECT_EQ(listed, MenuLists::kListCapacity);
    EXPECT_EQ(levels, 4);
    EXPECT_EQ(lastId, MenuLists::kFirstLanguageId - 1);

    texts.resize(3);
    FillNotesSubmenu(notes, texts, language);
    ASSERT_EQ(GetMenuItemCount(notes), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GetSubMenu(notes, i), nullptr);
    EXPECT_EQ(GetMenuItemID(notes, 2), MenuLists::kFirstNoteId + 2);
}

}  // namespace
