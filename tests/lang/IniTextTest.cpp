#include "lang/IniText.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/LanguageFiles.h"
#include "lang/LanguageTable.h"

namespace {

class IniTextTest : public ::testing::Test {
protected:
    // Reads key "Value" of a file that holds only that line, with the language escapes.
    std::wstring ReadValue(const std::wstring& value) {
        const std::wstring path = LangTest::WriteIni(dir_, L"one.ini", L"[Text]\nValue=" + value);
        return ReadIniText(L"Text", L"Value", path, &LanguageEscapes());
    }
    std::wstring dir_ = TestPaths::MakeScratchDir();
};

TEST_F(IniTextTest, EscapesBecomeControlCharactersWhereverTheyStand) {
    const struct {
        const wchar_t* value;
        const wchar_t* expected;
    } cases[] = {
        {L"line\\r\\nbreak\\tx", L"line\r\nbreak\tx"},
        // No escape for the backslash: a path loses its "\n" to a line feed.
        {L"C:\\new", L"C:\new"},
        {L"C:\\\\new", L"C:\\\new"},
        {L"ends in \\", L"ends in \\"},
        {L"\\x\\N\\T", L"\\x\\N\\T"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadValue(c.value), c.expected) << TestPaths::Narrow(c.value);
}

TEST_F(IniTextTest, ANulEndsTheValueAsTheProfileReaderHandsItOver) {
    EXPECT_EQ(ReadValue(std::wstring(L"ab\0cd", 5)), L"ab");
    EXPECT_EQ(ReadValue(std::wstring(L"\0cd", 3)), L"(((Value)))");
}

TEST_F(IniTextTest, MissingOrEmptyValueShowsTheKey) {
    const std::wstring path =
        LangTest::WriteIni(dir_, L"lang.ini", L"[Text]\nMainMenu_Exit=\nTitle_App=C:\\new");
    EXPECT_EQ(ReadIniText(L"Text", L"MainMenu_Exit", path, &LanguageEscapes()),
              L"(((MainMenu_Exit)))");
    EXPECT_EQ(ReadIniText(L"Text", L"Absent", path, nullptr), L"(((Absent)))");
    EXPECT_EQ(ReadIniText(L"Missing", L"Title_App", path, nullptr), L"(((Title_App)))");
    EXPECT_EQ(ReadIniText(L"Text", L"Title_App", dir_ + L"nothere.ini", nullptr),
              L"(((Title_App)))");
    // Without an escape list backslashes stay.
    EXPECT_EQ(ReadIniText(L"Text", L"Title_App", path, nullptr), L"C:\\new");
}

TEST_F(IniTextTest, LongValuesAreCutBeforeEscapesApplyAndKeepSurrogatePairsWhole) {
    // The profile reader's buffer holds 1023 characters and the terminator.
    for (size_t length : {1022, 1023, 1024, 1500}) {
        EXPECT_EQ(ReadValue(std::wstring(length, L'x')).size(), std::min<size_t>(length, 1023))
            << length;
    }

    // The cut falls between the backslash and the n, so no line feed appears.
    const std::wstring read = ReadValue(std::wstring(1022, L'a') + L"\\nb");
    EXPECT_EQ(read.size(), 1023u);
    EXPECT_EQ(read.back(), L'\\');

    // U+1F600 whose first half would be the last kept unit is dropped whole.
    EXPECT_EQ(ReadValue(std::wstring(1022, L'a') + L"\xD83D\xDE00zz"), std::wstring(1022, L'a'));
}

TEST(ApplyEscapesTest, ReplacementHoldingItsPatternTerminates) {
    std::wstring text = L"aba";
    ApplyEscapes(text, {{L"a", L"aa"}});
    EXPECT_EQ(text, L"aabaa");
    text = L"abc";
    ApplyEscapes(text, {{L"", L"x"}, {L"b", L""}});
    EXPECT_EQ(text, L"ac");
}

}  // namespace
