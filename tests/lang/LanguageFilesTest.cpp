// Checks of the language files that ship with the program: a translator's slip
// here shows up as a key in parentheses, a crash-free but garbled message, or two
// menu items fighting over one keyboard letter.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "LangTestUtil.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"

namespace {

struct ShippedLanguage {
    const wchar_t* file;
    const wchar_t* displayName;
};

const ShippedLanguage kShipped[] = {
    {L"English.ini", L"English"},
    {L"German.ini", L"Deutsch"},
};

// The keys that share one menu level or one dialog, where every "&" letter must
// be different.
const std::vector<std::vector<const wchar_t*>> kMenuLevels = {
    {L"NoteMenu_Edit", L"NoteMenu_Undo", L"NoteMenu_Redo", L"NoteMenu_Delete",
     L"NoteMenu_ResizeToContent", L"NoteMenu_Hide", L"NoteMenu_Lock", L"NoteMenu_AlwaysOnTop",
     L"NoteMenu_BringNotesToTop", L"NoteMenu_Priority", L"NoteMenu_Alarm", L"NoteMenu_Title",
     L"NoteMenu_Font", L"NoteMenu_Links", L"NoteMenu_SaveAs", L"NoteMenu_EmailTo", L"NoteMenu_Copy",
     L"NoteMenu_Paste"},
    {L"NoteMenu_VeryHigh", L"NoteMenu_High", L"NoteMenu_Normal", L"NoteMenu_Low",
     L"NoteMenu_VeryLow"},
    {L"NoteMenu_AlarmEnabled", L"NoteMenu_AlarmChange"},
    {L"NoteMenu_Title_Change", L"NoteMenu_Title_Remove"},
    {L"NoteMenu_Font_SelectCustom", L"NoteMenu_Font_UseCustomDefault",
     L"NoteMenu_Font_SetCustomDefault", L"NoteMenu_Font_UseSkinDefault"},
    {L"MainMenu_NewNote", L"MainMenu_NewNoteFrom", L"MainMenu_ShowNotes", L"MainMenu_TileNotes",
     L"MainMenu_BringNotesToTop", L"MainMenu_ExportNotes", L"MainMenu_UnhideNotes",
     L"MainMenu_Notes", L"MainMenu_RecycleBin", L"MainMenu_Settings", L"MainMenu_AlwaysOnTop",
     L"MainMenu_Show", L"MainMenu_About", L"MainMenu_Exit"},
    {L"MainMenu_NewNoteFromClipboard", L"MainMenu_NewNoteFromFile", L"MainMenu_NewNoteFromZephyn2"},
    {L"MainMenu_RecycleBinOpen", L"MainMenu_RecycleBinEmpty"},
    {L"MainMenu_General", L"MainMenu_SelectLanguage", L"MainMenu_SelectSkin",
     L"MainMenu_SelectColorTheme", L"MainMenu_CheckForUpdates", L"MainMenu_CancelCheckForUpdates"},
};

const std::vector<std::vector<const wchar_t*>> kDialogs = {
    {L"Settings_GeneralSettings",
     L"Settings_CheckForUpdatesAtStartup",
     L"Settings_LayeredWindowEnabled",
     L"Settings_RunAtStartup",
     L"Settings_ShowDateInTitle",
     L"Settings_NoteSettings",
     L"Settings_Translucency",
     L"Settings_AutoResizeAfterEdit",
     L"Settings_ConfirmOnDelete",
     L"Settings_SnapNotesToGrid",
     L"Settings_SnapNotesTogether",
     L"Settings_KeyboardShortcuts",
     L"Settings_ShowHideNotes",
     L"Settings_BringNotesToTop",
     L"Settings_NewNote",
     L"Settings_NewNoteFromClipboard",
     L"Settings_NoteSpacing",
     L"Settings_SnapSize",
     L"Settings_OK",
     L"Settings_Cancel",
     L"Settings_Apply"},
    {L"Alarm_Date", L"Alarm_Time", L"Alarm_OK", L"Alarm_Cancel"},
    {L"NoteTitle_Title", L"NoteTitle_OK", L"NoteTitle_Cancel"},
};

// The letters marked with "&" ("&&" is a literal ampersand), folded to upper case
// for Latin-1 letters, which is all the shipped languages use.
std::vector<wchar_t> Accelerators(const std::wstring& text) {
    std::vector<wchar_t> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        wchar_t c = text[++i];
        if (c == L'&') continue;
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 0x20;
        found.push_back(c);
    }
    return found;
}

class ShippedLanguageTest : public ::testing::TestWithParam<ShippedLanguage> {
protected:
    void SetUp() override { table_.Load(Path()); }
    std::wstring Path() const { return LangTest::LanguagesDir() + GetParam().file; }
    LanguageTable table_;
};

TEST_P(ShippedLanguageTest, EveryKeyHasAText) {
    EXPECT_EQ(LanguageDisplayName(Path()), GetParam().displayName);
    for (size_t n = 0; n < kLanguageKeyCount; ++n) {
        const std::wstring& text = table_.TextOf(static_cast<int>(n));
        EXPECT_FALSE(text.empty()) << n;
        EXPECT_NE(text, L"(((" + std::wstring(kLanguageKeys[n]) + L")))") << n;
    }
}

TEST_P(ShippedLanguageTest, FormatTextsCarryExactlyTheirArguments) {
    EXPECT_EQ(FormatConversions(table_.TextOf(kAbout)), L"dd");
    EXPECT_EQ(FormatConversions(table_.TextOf(kConfirm_DeleteNote)), L"s");
    // Every other text is shown as it stands, where a "%" would be seen as written.
    for (int n = 0; n < static_cast<int>(kLanguageKeyCount); ++n) {
        if (n == kAbout || n == kConfirm_DeleteNote) continue;
        EXPECT_EQ(table_.TextOf(n).find(L'%'), std::wstring::npos) << n;
    }
    const std::wstring about = SafeFormat(table_.TextOf(kAbout), {3, 2});
    EXPECT_NE(about.find(L"3.2"), std::wstring::npos);
}

TEST_P(ShippedLanguageTest, FileNamesAndListsHaveTheirForm) {
    const std::wstring bin = table_.TextOf(kRecycleBinFile);
    ASSERT_GT(bin.size(), 4u);
    EXPECT_EQ(bin.substr(bin.size() - 4), L".txt");
    EXPECT_EQ(bin.find_first_of(L"\\/:*?\"<>|\t\r\n"), std::wstring::npos);

    // Pairs of description and pattern, each ended by ";".
    const std::wstring filter = table_.TextOf(kTextFilesFilter);
    ASSERT_FALSE(filter.empty());
    EXPECT_EQ(filter.back(), L';');
    std::vector<std::wstring> parts;
    for (size_t start = 0, end; (end = filter.find(L';', start)) != std::wstring::npos;
         start = end + 1) {
        parts.push_back(filter.substr(start, end - start));
    }
    ASSERT_EQ(parts.size() % 2, 0u);
    for (size_t i = 0; i < parts.size(); i += 2) {
        EXPECT_FALSE(parts[i].empty());
        EXPECT_EQ(parts[i + 1].rfind(L"*.", 0), 0u) << TestPaths::Narrow(parts[i + 1]);
    }

    EXPECT_LE(table_.TextOf(kTrayIconToolTip).size(), 127u);
}

TEST_P(ShippedLanguageTest, SuffixesKeepTheirLeadingSpace) {
    for (int n : {kTitleSuffix_Locked, kTitleSuffix_Hidden, kTitleSuffix_LockedHidden}) {
        const std::wstring& suffix = table_.TextOf(n);
        ASSERT_GT(suffix.size(), 1u);
        EXPECT_EQ(suffix[0], L' ') << n;
        EXPECT_NE(suffix[1], L' ') << n;
    }
}

// Menu items each need one access key; dialog controls may go without (OK, Cancel).
TEST_P(ShippedLanguageTest, AccessKeysDoNotClash) {
    auto check = [&](const std::vector<std::vector<const wchar_t*>>& groups, bool required) {
        for (const auto& group : groups) {
            std::map<wchar_t, std::wstring> owners;
            for (const wchar_t* key : group) {
                const std::vector<wchar_t> keys = Accelerators(table_.Translate(key));
                ASSERT_LE(keys.size(), 1u) << TestPaths::Narrow(key);
                if (required) {
                    ASSERT_EQ(keys.size(), 1u) << TestPaths::Narrow(key);
                }
                if (keys.empty()) continue;
                auto [at, fresh] = owners.emplace(keys[0], key);
                EXPECT_TRUE(fresh) << TestPaths::Narrow(key) << " and "
                                   << TestPaths::Narrow(at->second) << " share a letter";
            }
        }
    };
    check(kMenuLevels, true);
    check(kDialogs, false);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageTest, ::testing::ValuesIn(kShipped),
                         [](const ::testing::TestParamInfo<ShippedLanguage>& info) {
                             return TestPaths::Narrow(info.param.displayName);
                         });

TEST(ShippedLanguageTextTest, GermanFileIsReadAsUnicode) {
    LanguageTable table;
    table.Load(LangTest::LanguagesDir() + L"German.ini");
    EXPECT_EQ(table.Translate(L"NoteMenu_Paste"), L"Ein&f\u00FCgen");
    EXPECT_EQ(table.Translate(L"Settings_Apply"), L"&\u00DCbernehmen");
}

}  // namespace
