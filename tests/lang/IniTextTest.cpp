#include "lang/IniText.h"

#include <gtest/gtest.h>

#include "LangTestUtil.h"
#include "lang/LanguageTable.h"

namespace {

class IniTextTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = TestPaths::MakeScratchDir(); }

    // Reads key "Value" of a file that holds only that line, with the language escapes.
    std::wstring ReadValue(const std::wstring& value) {
        const std::wstring path = LangTest::WriteIni(dir_, L"one.ini", L"[Text]\nValue=" + value);
        return ReadIniText(L"Text", L"Value", path, &LanguageEscapes());
    }

    std::wstring dir_;
};

struct EscapeCase {
    const wchar_t* value;
    const wchar_t* expected;
};

TEST_F(IniTextTest, EscapesBecomeControlCharactersWhereverTheyStand) {
    const EscapeCase cases[] = {
        {L"first\\nsecond", L"first\nsecond"},
        {L"name\\tvalue", L"name\tvalue"},
        {L"line\\r\\nbreak", L"line\r\nbreak"},
        {L"\\n", L"\n"},
        // No escape for the backslash: a path loses its "\n" to a line feed.
        {L"C:\\new", L"C:\new"},
        {L"C:\\\\new", L"C:\\\new"},
        {L"50\\%", L"50\\%"},
        {L"ends in \\", L"ends in \\"},
        {L"\\x\\N\\T", L"\\x\\N\\T"},
        {L"\\t\\t\\n\\n", L"\t\t\n\n"},
    };
    for (const EscapeCase& c : cases) {
        EXPECT_EQ(ReadValue(c.value), c.expected) << TestPaths::Narrow(c.value);
    }
}

TEST_F(IniTextTest, MissingOrEmptyValueShowsTheKey) {
    const std::wstring path = LangTest::WriteIni(
        dir_, L"lang.ini", L"[Text]\nMainMenu_Exit=\nTitle_App=Notes\n[Other]\nX=1");
    EXPECT_EQ(ReadIniText(L"Text", L"MainMenu_Exit", path, &LanguageEscapes()),
              L"(((MainMenu_Exit)))");
    EXPECT_EQ(ReadIniText(L"Text", L"Absent", path, &LanguageEscapes()), L"(((Absent)))");
    EXPECT_EQ(ReadIniText(L"Missing", L"Title_App", path, nullptr), L"(((Title_App)))");
    EXPECT_EQ(ReadIniText(L"Text", L"Title_App", dir_ + L"nothere.ini", nullptr),
              L"(((Title_App)))");
    EXPECT_EQ(ReadIniText(L"Text", L"Title_App", path, nullptr), L"Notes");
}

TEST_F(IniTextTest, WithoutEscapeListBackslashesStay) {
    const std::wstring path = LangTest::WriteIni(dir_, L"raw.ini", L"[Text]\nPath=C:\\new\\table");
    EXPECT_EQ(ReadIniText(L"Text", L"Path", path, nullptr), L"C:\\new\\table");
}

TEST_F(IniTextTest, LongValuesAreCutBeforeEscapesApply) {
    EXPECT_EQ(ReadValue(std::wstring(1500, L'x')), std::wstring(kIniTextMaxLength, L'x'));
    EXPECT_EQ(ReadValue(std::wstring(kIniTextMaxLength, L'y')).size(), kIniTextMaxLength);

    // The cut falls between the backslash and the n, so no line feed appears.
    const std::wstring straddling = std::wstring(kIniTextMaxLength - 1, L'a') + L"\\nb";
    const std::wstring read = ReadValue(straddling);
    EXPECT_EQ(read.size(), kIniTextMaxLength);
    EXPECT_EQ(read.back(), L'\\');
}

TEST_F(IniTextTest, CutDoesNotSplitSurrogatePair) {
    // U+1F600 as a surrogate pair whose first half would be the last kept unit.
    const std::wstring value = std::wstring(kIniTextMaxLength - 1, L'a') + L"\xD83D\xDE00" + L"zz";
    const std::wstring read = ReadValue(value);
    EXPECT_EQ(read, std::wstring(kIniTextMaxLength - 1, L'a'));
}

TEST(ApplyEscapesTest, ReplacementHoldingItsPatternTerminates) {
    const IniEscapeList doubling = {{L"a", L"aa"}};
    std::wstring text = L"aba";
    ApplyEscapes(text, doubling);
    EXPECT_EQ(text, L"aabaa");

    const IniEscapeList empty = {{L"", L"x"}, {L"b", L""}};
    text = L"abc";
    ApplyEscapes(text, empty);
    EXPECT_EQ(text, L"ac");
}

TEST_F(IniTextTest, DisplayNameIsReadWithoutEscapes) {
    const std::wstring named =
        LangTest::WriteIni(dir_, L"named.ini", L"[Text]\nLanguageName=Dan\\nsk\nTitle_App=X");
    const std::wstring unnamed = LangTest::WriteIni(dir_, L"unnamed.ini", L"[Text]\nTitle_App=X");
    EXPECT_EQ(LanguageDisplayName(named), L"Dan\\nsk");
    EXPECT_EQ(LanguageDisplayName(unnamed), L"(((LanguageName)))");
    EXPECT_EQ(LanguageDisplayName(dir_ + L"absent.ini"), L"(((LanguageName)))");
}

}  // namespace
