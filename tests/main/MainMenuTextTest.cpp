#include "main/MainMenuText.h"

#include <gtest/gtest.h>

namespace {

TEST(MainMenuTextTest, SuffixByStateThenTrailingBlanksCut) {
    const NoteMenuSuffixes s{L" [locked]", L" [hidden] ", L" [locked, hidden]"};
    struct Case {
        const wchar_t* title;
        bool locked;
        bool hidden;
        const wchar_t* text;
    } cases[] = {
        {L"Plain", false, false, L"Plain"},
        {L"Shop\t(1/2/2024)", true, false, L"Shop\t(1/2/2024) [locked]"},
        {L"Shop", false, true, L"Shop [hidden]"},  // the suffix's own space goes too
        {L"Shop", true, true, L"Shop [locked, hidden]"},
        {L"Title  \r\n\t", false, false, L"Title"},
        {L" \r\n", false, false, L" \r\n"},  // nothing but blanks: left alone
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NoteMenuItemText(c.title, c.locked, c.hidden, s), c.text) << c.title;
    }
}

}  // namespace
