#include "main/MainMenuText.h"

#include <gtest/gtest.h>

TEST(MainMenuTextTest, SuffixByStateThenTrailingBlanksCut) {
    const NoteMenuSuffixes s{L" [locked]", L" [hidden] ", L" [locked, hidden]"};
    const struct {
        const wchar_t *title, *text;
        bool locked, hidden;
    } cases[] = {
        {L"Shop\t(1/2/2024)", L"Shop\t(1/2/2024) [locked]", true, false},
        {L"Shop", L"Shop [hidden]", false, true},  // the suffix's own space goes too
        {L"Shop", L"Shop [locked, hidden]", true, true},
        {L"Title  \r\n\t", L"Title", false, false},
        {L" \r\n", L" \r\n", false, false},  // nothing but blanks: left alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoteMenuItemText(c.title, c.locked, c.hidden, s), c.text) << c.title;
}
