// Checks of the language files that ship with the program: a translator's slip
// shows up as a key in parentheses or as a garbled message.

#include <gtest/gtest.h>

#include <map>

#include "support/LanguageFiles.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"

namespace {

struct ShippedLanguage {
    const wchar_t* file;
    const wchar_t* displayName;
    const wchar_t* pasteItem;  // a text beyond ASCII, where the file has one
};

const ShippedLanguage kShipped[] = {{L"English.ini", L"English", L"&Paste"},
                                    {L"German.ini", L"Deutsch", L"Ein&f\u00FCgen"}};

// The format texts and the conversions the code fills them with.
const std::map<int, std::wstring> kFormats = {
    {kAbout, L"dd"},
    {kConfirm_DeleteNote, L"s"},
    {kSaveFailed_Notes, L"ss"},
    {kSaveFailed_NotesUnread, L"ss"},
    {kSaveFailed_Settings, L"ss"},
    {kSaveFailed_Backup, L"ss"},
    {kRecycleBinFailed, L"ss"},
    {kRestoreBackup_Item, L"sd"},
    {kRestoreBackup_Failed, L"ss"},
    {kSaveFailed_Exit, L"s"},
    {kShellOpen_Failed, L"ss"},
    {kNotesNotShown, L"d"},
    {kSync_FolderUnavailable, L"ss"},
    {kNotesFileKept, L"ss"},
    {kRestoreNote_Item, L"sd"},
    {kRestoreNote_NotRemoved, L"ss"},
};

class ShippedLanguageTest : public ::testing::TestWithParam<ShippedLanguage> {};

TEST_P(ShippedLanguageTest, EveryKeyHasATextAndOnlyFormatsHoldPercentSigns) {
    const std::wstring path = TestPaths::SourceDir() + L"/languages/" + GetParam().file;
    LanguageTable table;
    table.Load(path);
    EXPECT_EQ(LanguageDisplayName(path), GetParam().displayName);
    EXPECT_EQ(table.Translate(L"NoteMenu_Paste"), GetParam().pasteItem);
    for (int n = 0; n < static_cast<int>(kLanguageKeyCount); ++n) {
        const std::wstring& text = table.TextOf(n);
        EXPECT_FALSE(text.empty()) << n;
        EXPECT_NE(text, L"(((" + std::wstring(kLanguageKeys[n]) + L")))") << n;
        // Other texts are shown as they stand, where a "%" would be seen as written.
        if (!kFormats.count(n)) {
            EXPECT_EQ(text.find(L'%'), std::wstring::npos) << n;
        }
    }
    for (const auto& [n, conversions] : kFormats)
        EXPECT_EQ(FormatConversions(table.TextOf(n)), conversions) << n;
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageTest, ::testing::ValuesIn(kShipped),
                         [](const ::testing::TestParamInfo<ShippedLanguage>& info) {
                             return TestPaths::Narrow(info.param.displayName);
                         });

}  // namespace
