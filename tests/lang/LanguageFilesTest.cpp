// Checks of the language files that ship with the program: a translator's slip
// here shows up as a key in parentheses, a crash-free but garbled message, or two
// menu items fighting over one keyboard letter.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "LangTestUtil.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"

namespace {

struct ShippedLanguage {
    const wchar_t* file;
    const wchar_t* displayName;
};

const ShippedLanguage kShipped[] = {{L"English.ini", L"English"}, {L"German.ini", L"Deutsch"}};

// Keys sharing one menu level or one dialog, where every "&" letter must differ:
// a prefix and the rest of each key. Menu items each need one access key; dialog
// controls may go without (OK, Cancel).
struct KeyGroup {
    bool menu;
    const wchar_t* prefix;
    const wchar_t* names;
};

const KeyGroup kKeyGroups[] = {
    {true, L"NoteMenu_",
     L"Edit Undo Redo Delete ResizeToContent Hide Lock AlwaysOnTop BringNotesToTop Priority Alarm "
     L"Title Font Links SaveAs EmailTo Copy Paste"},
    {true, L"NoteMenu_", L"VeryHigh High Normal Low VeryLow"},
    {true, L"NoteMenu_", L"AlarmEnabled AlarmChange"},
    {true, L"NoteMenu_Title_", L"Change Remove"},
    {true, L"NoteMenu_Font_", L"SelectCustom UseCustomDefault SetCustomDefault UseSkinDefault"},
    {true, L"MainMenu_",
     L"NewNote NewNoteFrom ShowNotes TileNotes BringNotesToTop ExportNotes UnhideNotes Notes "
     L"RecycleBin Settings AlwaysOnTop Show About Exit"},
    {true, L"MainMenu_", L"NewNoteFromClipboard NewNoteFromFile NewNoteFromZephyn2"},
    {true, L"MainMenu_", L"RecycleBinOpen RecycleBinEmpty"},
    {true, L"MainMenu_",
     L"General SelectLanguage SelectSkin SelectColorTheme CheckForUpdates CancelCheckForUpdates"},
    {false, L"Settings_",
     L"GeneralSettings CheckForUpdatesAtStartup LayeredWindowEnabled RunAtStartup ShowDateInTitle "
     L"NoteSettings Translucency AutoResizeAfterEdit ConfirmOnDelete SnapNotesToGrid "
     L"SnapNotesTogether KeyboardShortcuts ShowHideNotes BringNotesToTop NewNote "
     L"NewNoteFromClipboard NoteSpacing SnapSize OK Cancel Apply"},
    {false, L"Alarm_", L"Date Time OK Cancel"},
    {false, L"NoteTitle_", L"Title OK Cancel"},
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

TEST_P(ShippedLanguageTest, EveryKeyHasATextAndOnlyFormatsHoldPercentSigns) {
    EXPECT_EQ(LanguageDisplayName(Path()), GetParam().displayName);
    for (int n = 0; n < static_cast<int>(kLanguageKeyCount); ++n) {
        const std::wstring& text = table_.TextOf(n);
        EXPECT_FALSE(text.empty()) << n;
        EXPECT_NE(text, L"(((" + std::wstring(kLanguageKeys[n]) + L")))") << n;
        // Other texts are shown as they stand, where a "%" would be seen as written.
        if (n != kAbout && n != kConfirm_DeleteNote)
            EXPECT_EQ(text.find(L'%'), std::wstring::npos) << n;
    }
    EXPECT_EQ(FormatConversions(table_.TextOf(kAbout)), L"dd");
    EXPECT_EQ(FormatConversions(table_.TextOf(kConfirm_DeleteNote)), L"s");
    EXPECT_NE(SafeFormat(table_.TextOf(kAbout), {3, 2}).find(L"3.2"), std::wstring::npos);
}

TEST_P(ShippedLanguageTest, FileNamesListsAndSuffixesHaveTheirForm) {
    const std::wstring bin = table_.TextOf(kRecycleBinFile);
    ASSERT_GT(bin.size(), 4u);
    EXPECT_EQ(bin.substr(bin.size() - 4), L".txt");
    EXPECT_EQ(bin.find_first_of(L"\\/:*?\"<>|\t\r\n"), std::wstring::npos);

    // Pairs of description and pattern, each ended by ";".
    const std::wstring filter = table_.TextOf(kTextFilesFilter);
    ASSERT_FALSE(filter.empty());
    EXPECT_EQ(filter.back(), L';');
    size_t count = 0;
    for (size_t start = 0, end; (end = filter.find(L';', start)) != std::wstring::npos;
         start = end + 1, ++count) {
        const std::wstring part = filter.substr(start, end - start);
        if (count % 2)
            EXPECT_EQ(part.rfind(L"*.", 0), 0u) << TestPaths::Narrow(part);
        else
            EXPECT_FALSE(part.empty());
    }
    EXPECT_EQ(count % 2, 0u);
    EXPECT_LE(table_.TextOf(kTrayIconToolTip).size(), 127u);

    for (int n : {kTitleSuffix_Locked, kTitleSuffix_Hidden, kTitleSuffix_LockedHidden}) {
        const std::wstring& suffix = table_.TextOf(n);
        ASSERT_GT(suffix.size(), 1u);
        EXPECT_TRUE(suffix[0] == L' ' && suffix[1] != L' ') << n;
    }
}

TEST_P(ShippedLanguageTest, AccessKeysDoNotClash) {
    for (const KeyGroup& group : kKeyGroups) {
        std::map<wchar_t, std::wstring> owners;
        std::wistringstream names(group.names);
        for (std::wstring name; names >> name;) {
            const std::wstring key = group.prefix + name;
            const std::vector<wchar_t> letters = Accelerators(table_.Translate(key));
            EXPECT_LE(letters.size(), 1u) << TestPaths::Narrow(key);
            if (group.menu) EXPECT_EQ(letters.size(), 1u) << TestPaths::Narrow(key);
            if (letters.empty()) continue;
            auto [at, fresh] = owners.emplace(letters[0], key);
            EXPECT_TRUE(fresh) << TestPaths::Narrow(key) << " and " << TestPaths::Narrow(at->second)
                               << " share a letter";
        }
    }
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
