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
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, DisplayTitle(c.title, c.text, L"(none)")) << c.text;
    EXPECT_EQ(L"\t(2024/03/07  9:05) ", NoteTitle::DateSuffix(2024, 3, 7, 9, 5));
    EXPECT_EQ(L"\t(1999/12/31 23:59) ", NoteTitle::DateSuffix(1999, 12, 31, 23, 59));
}

}  // namespace
