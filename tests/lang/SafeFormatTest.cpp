#include "lang/SafeFormat.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/TestPaths.h"

namespace {

TEST(SafeFormatTest, FillsWhatItCanAndLeavesTheRestAsWritten) {
    const struct {
        const wchar_t* format;
        std::initializer_list<FormatArg> args;
        const wchar_t* expected;
    } cases[] = {
        {L"Version %d.%d", {3, 2}, L"Version 3.2"},
        {L"%i and %ld, %ls", {1, 2, L"three"}, L"1 and 2, three"},
        {L"100%% sure", {}, L"100% sure"},
        {L"[%-5d|%05d|%6.3d|%.0d]", {3, -42, -7, 0}, L"[3    |-0042|  -007|]"},
        // Left alignment wins over zeros; a precision turns the zeros off.
        {L"[%-05d|%05.1d|%+04d|% d]", {42, 7, 5, 6}, L"[42   |    7|+005| 6]"},
        {L"[%d]", {INT_MIN}, L"[-2147483648]"},
        {L"[%12d|%.10s]", {-5, L"abcdefghijkl"}, L"[          -5|abcdefghij]"},
        {L"[%6s|%-3s|%.2s]", {L"ab", L"c", L"def"}, L"[    ab|c  |de]"},
        {L"[%s]", {static_cast<const wchar_t*>(nullptr)}, L"[]"},
        // Unknown conversions, including the one that writes through a pointer.
        {L"%n%x%p%u%c%f%S", {1, 2, 3}, L"%n%x%p%u%c%f%S"},
        {L"%*d|%.*s|%hs %lld", {5, 6, L"a", 1}, L"%*d|%.*s|%hs %lld"},
        // Wrong kind of argument: the conversion stays and the argument is used up.
        {L"%s.%d", {3, 2}, L"%s.2"},
        {L"[%-8d]", {L"title"}, L"[%-8d]"},
        // Too few arguments.
        {L"%d.%d.%d", {3, 2}, L"3.2.%d"},
        // A "%" at the end, or followed by a flag or width and nothing else.
        {L"50%", {1}, L"50%"},
        {L"%5", {1}, L"%5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeFormat(c.format, c.args), c.expected) << TestPaths::Narrow(c.format);
    // A format is read no further than its end, whatever lies beyond it.
    EXPECT_EQ(SafeFormat(std::wstring_view(L"50%%d", 3), {1}), L"50%");
    EXPECT_EQ(SafeFormat(std::wstring_view(L"[%9d]9", 5), {7}), L"[        7]");
}

TEST(SafeFormatTest, HugeWidthsAndLongArgumentsStayWithinTheLimit) {
    const std::wstring wide = SafeFormat(L"%999999d", {3});
    EXPECT_EQ(wide.size(), 2047u);
    EXPECT_EQ(wide.back(), L'3');
    EXPECT_EQ(SafeFormat(L"%99999999999999999999999d!", {3}).size(), 2047u);
    EXPECT_EQ(SafeFormat(L"%.99999999999999999999d", {3}).size(), 2047u);

    const std::wstring question = SafeFormat(L"Delete \"%s\"?", {std::wstring(5000, L't')});
    EXPECT_EQ(question.size(), 2047u);
    EXPECT_EQ(question.substr(0, 9), L"Delete \"t");
    EXPECT_EQ(SafeFormat(L"%d.%d", {3, 2}, 2), L"3.");
}

TEST(FormatConversionsTest, ListsWhatAFormatAsksFor) {
    EXPECT_EQ(FormatConversions(L"Delete \"%-20s\"? %d.%02d 100%%"), L"sdd");
    EXPECT_EQ(FormatConversions(L"%n and %x %"), L"???");
}

}  // namespace
