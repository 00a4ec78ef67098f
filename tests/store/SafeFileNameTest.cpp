#include "store/SafeFileName.h"

#include <gtest/gtest.h>

namespace {

TEST(SafeFileName, Table) {
    const std::wstring longWord(100, L'w');
    const struct {
        std::wstring text, expected;
    } cases[] = {
        {L"Shopping", L"Shopping.txt"},
        {L"Call Bob\r\nabout the car", L"Call Bob.txt"},
        {L"Q3: plan/budget? \"final\" <v2> a|b*c\\d", L"Q3 plan budget final v2 a b c d.txt"},
        {L"  ...hidden. \t ", L"hidden.txt"},
        {L"tabs\tand\x01"
         L"controls",
         L"tabs and controls.txt"},
        {L"con", L"_con.txt"},
        {L"Nul .notes", L"_Nul .notes.txt"},
        {L"COM7", L"_COM7.txt"},
        {L"COMA", L"COMA.txt"},
        {L"Console", L"Console.txt"},
        {longWord, std::wstring(64, L'w') + L".txt"},
        // Cut inside a surrogate pair (as UTF-16 holds it): the half goes too.
        {std::wstring(63, L'a') + L"\xD83D\xDE00 tail", std::wstring(63, L'a') + L".txt"},
        {std::wstring(62, L'a') + L"  .  b", std::wstring(62, L'a') + L".txt"},
        {L"", L"Note.txt"},
        {L"\r\nsecond line only", L"Note.txt"},
        {L"??? ::: ...", L"Note.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, SafeFileName(c.text, L"Note.txt")) << c.text.size();
}

}  // namespace
