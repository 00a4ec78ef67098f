#include "notes/TitleText.h"

#include <gtest/gtest.h>

namespace {

using NoteTitle::DateSuffix;
using NoteTitle::DisplayTitle;

TEST(TitleTextTest, OwnTitleElseFirstLine) {
    const std::wstring forty(40, L'x');
    struct Case {
        std::wstring title;
        std::wstring text;
        std::wstring shown;
    } cases[] = {
        {L"", L"Shopping\r\nmilk", L"Shopping"},
        {L"Groceries", L"Shopping\r\nmilk", L"Groceries"},
        {forty, L"", forty},  // own title never cut
        {L"", forty + L"\r\nmore", std::wstring(32, L'x') + L"..."},
        {L"", std::wstring(32, L'y'), std::wstring(32, L'y')},  // exactly at the limit
        {L"", L"\r\nsecond", L""},                              // starts with a break
        {L"", L"one\ntwo\rthree", L"one\ntwo\rthree"},          // only CR LF ends a line
        {L"", L"", L"(none)"},
        {L"", L" ", L" "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayTitle(c.title, c.text, L"(none)"), c.shown) << c.text;
    }
}

TEST(TitleTextTest, CutNeverSplitsASurrogatePair) {
    // 31 letters, then U+1F600 as a pair straddling the cut.
    std::wstring text = std::wstring(31, L'a') + L"\xD83D\xDE00" + L"tail";
    EXPECT_EQ(DisplayTitle(L"", text, L""), std::wstring(31, L'a') + L"...");
}

TEST(TitleTextTest, DatePadsHourWithSpaceOthersWithZero) {
    EXPECT_EQ(DateSuffix(2024, 3, 7, 9, 5), L"\t(2024/03/07  9:05) ");
    EXPECT_EQ(DateSuffix(1999, 12, 31, 23, 59), L"\t(1999/12/31 23:59) ");
}

}  // namespace
