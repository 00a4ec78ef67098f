#include "lang/LanguageTable.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "LangTestUtil.h"

namespace {

TEST(LanguageKeysTest, KeysAreDistinctAndGroupedByPrefix) {
    std::set<std::wstring> seen;
    for (const wchar_t* key : kLanguageKeys) {
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(seen.insert(key).second) << TestPaths::Narrow(key);
    }
    EXPECT_EQ(seen.size(), kLanguageKeyCount);

    const std::pair<int, const wchar_t*> ranges[] = {
        {kFirstNoteMenuKey, L"NoteMenu_"},   {kFirstMainMenuKey, L"MainMenu_"},
        {kFirstSettingsKey, L"Settings_"},   {kFirstAlarmKey, L"Alarm_"},
        {kFirstNoteTitleKey, L"NoteTitle_"}, {kEmailHeader, nullptr},
    };
    for (size_t r = 0; r + 1 < std::size(ranges); ++r) {
        const std::wstring prefix = ranges[r].second;
        for (int n = ranges[r].first; n < ranges[r + 1].first; ++n) {
            EXPECT_EQ(std::wstring(kLanguageKeys[n]).rfind(prefix, 0), 0u) << n;
        }
    }
}

class LanguageTableTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = TestPaths::MakeScratchDir(); }
    std::wstring dir_;
    LanguageTable table_;
};

TEST_F(LanguageTableTest, EmptyBeforeLoading) {
    EXPECT_FALSE(table_.IsLoaded());
    EXPECT_EQ(table_.TextOf(kTitle_App), L"");
    EXPECT_EQ(table_.Translate(L"MainMenu_Exit"), L"(MainMenu_Exit)");
    EXPECT_FALSE(table_.FindKey(L"MainMenu_Exit"));
}

TEST_F(LanguageTableTest, LoadFillsTextsAndMarksMissingKeys) {
    const std::wstring path = LangTest::WriteIni(
        dir_, L"Lang.ini",
        L"[Text]\nTitle_App=Notes\nMainMenu_Exit=E&xit\nAbout=Line one\\nLine two\n"
        L"BusyAdvanced=\n");
    table_.Load(path);

    EXPECT_TRUE(table_.IsLoaded());
    EXPECT_EQ(table_.TextOf(kTitle_App), L"Notes");
    EXPECT_EQ(table_.TextOf(kAbout), L"Line one\nLine two");
    EXPECT_EQ(table_.TextOf(kBusyAdvanced), L"(((BusyAdvanced)))");
    EXPECT_EQ(table_.TextOf(kLanguageName), L"(((LanguageName)))");
    EXPECT_EQ(table_.TextOf(kTrayIconToolTip), L"(((TrayIconToolTip)))");
}

TEST_F(LanguageTableTest, TranslateAndFindKeyCompareExactly) {
    table_.Load(LangTest::WriteIni(dir_, L"Lang.ini", L"[Text]\nMainMenu_Exit=E&xit"));

    EXPECT_EQ(table_.Translate(L"MainMenu_Exit"), L"E&xit");
    EXPECT_EQ(table_.Translate(L"Settings_OK"), L"(((Settings_OK)))");
    EXPECT_EQ(table_.Translate(L"&MainWindow"), L"(&MainWindow)");
    EXPECT_EQ(table_.Translate(L""), L"()");
    EXPECT_EQ(table_.Translate(L"mainmenu_exit"), L"(mainmenu_exit)");

    EXPECT_EQ(table_.FindKey(L"MainMenu_Exit"), 76);
    EXPECT_EQ(table_.FindKey(L"LanguageName"), 0);
    EXPECT_EQ(table_.FindKey(L"BusyAdvanced"), 110);
    EXPECT_FALSE(table_.FindKey(L"50%"));
    EXPECT_FALSE(table_.FindKey(L" MainMenu_Exit"));
    EXPECT_FALSE(table_.FindKey(L"MAINMENU_EXIT"));
}

TEST_F(LanguageTableTest, SecondLoadReplacesEveryText) {
    table_.Load(LangTest::WriteIni(dir_, L"A.ini", L"[Text]\nTitle_App=First\nNoTitle=None"));
    table_.Load(LangTest::WriteIni(dir_, L"B.ini", L"[Text]\nTitle_App=Second"));
    EXPECT_EQ(table_.TextOf(kTitle_App), L"Second");
    EXPECT_EQ(table_.TextOf(kNoTitle), L"(((NoTitle)))");
    EXPECT_EQ(table_.FindKey(L"NoTitle"), kNoTitle);
}

TEST_F(LanguageTableTest, MissingFileGivesEveryKeyInParentheses) {
    table_.Load(dir_ + L"Absent.ini");
    for (size_t n = 0; n < kLanguageKeyCount; ++n) {
        EXPECT_EQ(table_.TextOf(static_cast<int>(n)),
                  L"(((" + std::wstring(kLanguageKeys[n]) + L")))");
    }
}

TEST_F(LanguageTableTest, NumbersOutsideTheTableGiveEmptyText) {
    table_.Load(dir_ + L"Absent.ini");
    EXPECT_EQ(table_.TextOf(-1), L"");
    EXPECT_EQ(table_.TextOf(static_cast<int>(kLanguageKeyCount)), L"");
    EXPECT_EQ(table_.TextWithNuls(1000, L';'), std::wstring(1, L'\0'));
}

TEST_F(LanguageTableTest, TextWithNulsBuildsADoubleNulTerminatedList) {
    table_.Load(LangTest::WriteIni(
        dir_, L"Lang.ini",
        L"[Text]\nTextFilesFilter=Text (*.txt);*.txt;All (*.*);*.*;\nNoTitle=a;b"));

    const std::wstring filter = table_.TextWithNuls(kTextFilesFilter, L';');
    const std::wstring expected(L"Text (*.txt)\0*.txt\0All (*.*)\0*.*\0", 33);
    EXPECT_EQ(filter, expected);
    EXPECT_EQ(filter.size(), table_.TextOf(kTextFilesFilter).size());
    // With the string's own terminator: two NULs in a row end the list.
    EXPECT_EQ(filter.c_str()[filter.size() - 1], L'\0');
    EXPECT_EQ(filter.c_str()[filter.size()], L'\0');

    // A list whose last separator was forgotten still ends in a NUL of its own.
    EXPECT_EQ(table_.TextWithNuls(kNoTitle, L';'), std::wstring(L"a\0b\0", 4));
    EXPECT_EQ(table_.TextWithNuls(kNoTitle, L'|'), std::wstring(L"a;b\0", 4));
}

}  // namespace
