#include "lang/LanguageTable.h"

#include <gtest/gtest.h>

#include <set>

#include "lang/LanguageKeys.h"
#include "support/LanguageFiles.h"

namespace {

class LanguageTableTest : public ::testing::Test {
protected:
    void Load(const wchar_t* body) { table_.Load(LangTest::WriteIni(dir_, L"Lang.ini", body)); }
    std::wstring dir_ = TestPaths::MakeScratchDir();
    LanguageTable table_;
};

TEST_F(LanguageTableTest, MissingFileOrKeyShowsTheKeyAndASecondLoadReplacesEveryText) {
    EXPECT_EQ(table_.Translate(L"MainMenu_Exit"), L"(MainMenu_Exit)");  // nothing loaded yet
    table_.Load(dir_ + L"Absent.ini");
    EXPECT_EQ(table_.TextOf(kTitle_App), L"(((Title_App)))");
    EXPECT_EQ(table_.TextOf(-1), L"");
    EXPECT_EQ(table_.TextOf(static_cast<int>(kLanguageKeyCount)), L"");
    EXPECT_EQ(table_.TextWithNuls(1000, L';'), std::wstring(1, L'\0'));

    Load(L"[Text]\nTitle_App=First\nNoTitle=None\nAbout=One\\nTwo");
    EXPECT_EQ(table_.TextOf(kAbout), L"One\nTwo");
    Load(L"[Text]\nTitle_App=Second\nBusyAdvanced=");
    EXPECT_EQ(table_.TextOf(kTitle_App), L"Second");
    EXPECT_EQ(table_.TextOf(kNoTitle), L"(((NoTitle)))");
    EXPECT_EQ(table_.TextOf(kBusyAdvanced), L"(((BusyAdvanced)))");
}

TEST_F(LanguageTableTest, TranslateAndFindKeyCompareExactly) {
    EXPECT_EQ(std::set<std::wstring>(std::begin(kLanguageKeys), std::end(kLanguageKeys)).size(),
              kLanguageKeyCount);
    Load(L"[Text]\nMainMenu_Exit=E&xit");
    EXPECT_EQ(table_.Translate(L"MainMenu_Exit"), L"E&xit");
    EXPECT_EQ(table_.Translate(L"Settings_OK"), L"(((Settings_OK)))");
    EXPECT_EQ(table_.Translate(L"&MainWindow"), L"(&MainWindow)");
    EXPECT_EQ(table_.Translate(L""), L"()");

    // Every key is found at its own place in the list.
    for (size_t i = 0; i < kLanguageKeyCount; ++i)
        EXPECT_EQ(table_.FindKey(kLanguageKeys[i]), static_cast<int>(i)) << i;
    for (const wchar_t* notKey : {L"50%", L" MainMenu_Exit", L"MAINMENU_EXIT", L""})
        EXPECT_FALSE(table_.FindKey(notKey)) << TestPaths::Narrow(notKey);
}

TEST_F(LanguageTableTest, TextWithNulsBuildsADoubleNulTerminatedList) {
    Load(L"[Text]\nTextFilesFilter=Text (*.txt);*.txt;All (*.*);*.*;\nNoTitle=a;b");
    const std::wstring filter = table_.TextWithNuls(kTextFilesFilter, L';');
    EXPECT_EQ(filter, std::wstring(L"Text (*.txt)\0*.txt\0All (*.*)\0*.*\0", 33));
    // With the string's own terminator: two NULs in a row end the list.
    EXPECT_EQ(filter.c_str()[filter.size()], L'\0');

    // A list whose last separator was forgotten still ends in a NUL of its own.
    EXPECT_EQ(table_.TextWithNuls(kNoTitle, L';'), std::wstring(L"a\0b\0", 4));
    EXPECT_EQ(table_.TextWithNuls(kNoTitle, L'|'), std::wstring(L"a;b\0", 4));
}

// Code asks for texts by number; each number must name the key of its own name,
// or a message shows another message's text.
TEST(LanguageKeys, EachNumberCodeAsksForNamesItsOwnKey) {
#define KEY(name) \
    { k##name, L## #name }
    const struct {
        int number;
        const wchar_t* key;
    } cases[] = {
        // clang-format off
        KEY(LanguageName), KEY(Title_App), KEY(Title_NewNoteFromFile), KEY(Title_SaveNoteAs),
        KEY(Title_ExportNotesAs), KEY(About), KEY(RecycleBinFile), KEY(TrayIconToolTip),
        KEY(EmptySubMenu), KEY(NewVersion_DownloadPrompt), KEY(NewVersion_NoNewVersion),
        KEY(NewVersion_CheckFailed), KEY(TitleSuffix_Locked), KEY(TitleSuffix_Hidden),
        KEY(TitleSuffix_LockedHidden), KEY(NoTitle), KEY(TextFilesFilter),
        KEY(Confirm_Zephyn2Import), KEY(Confirm_EmptyRecycleBin), KEY(Confirm_DeleteNote),
        KEY(Confirm_Restart), KEY(EmailHeader), KEY(EmailFooter), KEY(BusyAdvanced),
        KEY(SaveNote_Failed), KEY(Email_NoMailProgram), KEY(Email_Failed), KEY(MainMenu_MoreNotes),
        KEY(ExportFailed), KEY(Zephyn2Import_NoneFound), KEY(SaveFailed_Notes),
        KEY(SaveFailed_NotesUnread), KEY(SaveFailed_Settings), KEY(SaveFailed_Backup),
        KEY(RecycleBinFailed), KEY(RestoreBackup_Item), KEY(RestoreBackup_None),
        KEY(RestoreBackup_Failed), KEY(MainMenu_RestoreBackup), KEY(SaveFailed_Exit),
        KEY(Settings_HotKeysTaken), KEY(Settings_RunAtStartupFailed), KEY(NewNoteFromFile_TooLarge),
        KEY(NewNoteFromFile_NotText), KEY(NewNoteFromFile_Unreadable), KEY(NotesNotShown),
        // The first key of each range of resource texts, and the last key.
        {kFirstNoteMenuKey, L"NoteMenu_Edit"}, {kFirstMainMenuKey, L"MainMenu_NewNote"},
        {kFirstSettingsKey, L"Settings_Title"}, {kFirstAlarmKey, L"Alarm_Title"},
        {kFirstNoteTitleKey, L"NoteTitle_Caption"},
        {kFirstRestoreBackupKey, L"RestoreBackup_Title"},
        {static_cast<int>(kLanguageKeyCount) - 1, L"Sync_Placement"},
        // clang-format on
    };
#undef KEY
    for (const auto& c : cases) {
        ASSERT_LT(c.number, static_cast<int>(kLanguageKeyCount)) << TestPaths::Narrow(c.key);
        EXPECT_EQ(std::wstring(c.key), kLanguageKeys[c.number]) << c.number;
    }
}

}  // namespace
