#include "notes/TitleText.h"

#include <gtest/gtest.h>

namespace {

using NoteTitle::DisplayTitle;

TEST(TitleTextTest, OwnTitleElseFirstLineCutAt32) {
    const std::wstring forty(40, L'x');
    struct {
        std::wstring title, text, shown;
    } cases[] = {
        {L"", L"Shopping\r\nmilk", L"Shopping"},
        {forty, L"Shopping", forty},  // own title first, never cut
        {L"", forty + L"\r\nmore", std::wstring(32, L'x') + L"..."},
        {L"", std::wstring(32, L'x'), std::wstring(32, L'x')},  // exactly the limit: whole
        {L"", std::wstring(33, L'x'), std::wstring(32, L'x') + L"..."},
        {L"", L"one\ntwo\rthree", L"one\ntwo\rthree"},  // only CR LF ends a line
        {L"", L"", L"(none)"},
        // U+1F600 as a pair straddling the cut is not split.
        {L"", std::wstring(31, L'a') + L"\xD83D\xDE00tail", std::wstring(31, L'a') + L"..."},
        // Each end of the high surrogates at the cut, and what lies just outside them.
        {L"", std::wstring(31, L'a') + L"\xDBFF\xDFFFtail", std::wstring(31, L'a') + L"..."},
        {L"", std::wstring(31, L'a') + L"\xD800\xDC00tail", std::wstring(31, L'a') + L"..."},
        {L"", std::wstring(31, L'a') + L"\xD7FFtail", std::wstring(31, L'a') + L"\xD7FF..."},
        {L"", std::wstring(30, L'a') + L"\xD800\xDC00tail",
         std::wstring(30, L'a') + L"\xD800\xDC00..."},  // a whole pair before the cut
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, DisplayTitle(c.title, c.text, L"(none)")) << c.text;
    EXPECT_EQ(L"\t(2024/03/07  9:05) ", NoteTitle::DateSuffix(2024, 3, 7, 9, 5));
    EXPECT_EQ(L"\t(1999/12/31 23:59) ", NoteTitle::DateSuffix(1999, 12, 31, 23, 59));
}

TEST(TitleTextTest, DateOnlyWhenAskedAndSwitchedOn) {
    SystemTimeData created;
    created.wYear = 2024, created.wMonth = 3, created.wDay = 7, created.wHour = 9;
    created.wMinute = 5, created.wSecond = 59;  // seconds are not shown
    const std::wstring date = L"\t(2024/03/07  9:05) ";
    struct {
        std::wstring title, text;
        bool withDate, setting;
        std::wstring shown;
    } cases[] = {
        {L"Groceries", L"milk", true, true, L"Groceries" + date},
        {L"Groceries", L"milk", false, true, L"Groceries"},  // the delete question
        {L"Groceries", L"milk", true, false, L"Groceries"},
        {L"", L"\r\nsecond line", true, true, date},  // an empty first line
        {L"", L"", true, true, L"(none)" + date},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.shown,
                  NoteTitle::TitleText(c.title, c.text, L"(none)", c.withDate, c.setting, created));
    }
}

}  // namespace
