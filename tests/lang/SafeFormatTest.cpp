#include "lang/SafeFormat.h"

#include <gtest/gtest.h>

#include <climits>

#include "TestPaths.h"

namespace {

TEST(SafeFormatTest, FillsArgumentsWithFlagsWidthsAndPrecisions) {
    EXPECT_EQ(SafeFormat(L"Version %d.%d", {3, 2}), L"Version 3.2");
    EXPECT_EQ(SafeFormat(L"%i and %ld, %ls", {1, 2, std::wstring(L"three")}), L"1 and 2, three");
    EXPECT_EQ(SafeFormat(L"100%% sure", {}), L"100% sure");
    EXPECT_EQ(SafeFormat(L"no conversions", {1, L"x"}), L"no conversions");
    const struct {
        const wchar_t* format;
        int value;
        const wchar_t* expected;
    } numbers[] = {
        {L"[%-5d]", 3, L"[3    ]"},
        {L"[%05d]", -42, L"[-0042]"},
        {L"[%+d]", 3, L"[+3]"},
        {L"[% d]", 3, L"[ 3]"},
        {L"[%6.3d]", -7, L"[  -007]"},
        {L"[%-05d]", 3, L"[3    ]"},
        {L"[%.0d]", 0, L"[]"},
        {L"[%02d]", 123, L"[123]"},
        {L"[%d]", INT_MIN, L"[-2147483648]"},
    };
    for (const auto& c : numbers) EXPECT_EQ(SafeFormat(c.format, {c.value}), c.expected);
    EXPECT_EQ(SafeFormat(L"[%6s|%-3s|%.2s]", {L"ab", L"c", L"def"}), L"[    ab|c  |de]");
    EXPECT_EQ(SafeFormat(L"[%s]", {static_cast<const wchar_t*>(nullptr)}), L"[]");
}

TEST(SafeFormatTest, ConversionsItCannotFillStayAsWritten) {
    const struct {
        const wchar_t* format;
        std::initializer_list<FormatArg> args;
        const wchar_t* expected;
    } cases[] = {
        // Unknown conversions, including the one that writes through a pointer.
        {L"%n%x%p%u%c%f%S", {1, 2, 3}, L"%n%x%p%u%c%f%S"},
        {L"%*d|%.*s", {5, 6}, L"%*d|%.*s"},
        {L"%hs %lld", {L"a", 1}, L"%hs %lld"},
        // Wrong kind of argument: the conversion stays and the argument is used up.
        {L"%s.%d", {3, 2}, L"%s.2"},
        {L"[%-8d]", {L"title"}, L"[%-8d]"},
        // Too few arguments.
        {L"%d.%d.%d", {3, 2}, L"3.2.%d"},
        {L"%05d", {}, L"%05d"},
        // A "%" at the end, or followed by a flag or width and nothing else.
        {L"50%", {1}, L"50%"},
        {L"50%-", {1}, L"50%-"},
        {L"%5", {1}, L"%5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeFormat(c.format, c.args), c.expected) << TestPaths::Narrow(c.format);
}

TEST(SafeFormatTest, HugeWidthsAndLongArgumentsStayWithinTheLimit) {
    const std::wstring wide = SafeFormat(L"%999999d", {3});
    EXPECT_EQ(wide.size(), kFormatMaxLength);
    EXPECT_EQ(wide.back(), L'3');
    EXPECT_EQ(SafeFormat(L"%99999999999999999999999d!", {3}).size(), kFormatMaxLength);
    EXPECT_EQ(SafeFormat(L"%.99999999999999999999d", {3}).size(), kFormatMaxLength);
    EXPECT_EQ(SafeFormat(L"%-999999s", {L"x"}).size(), kFormatMaxLength);

    const std::wstring question = SafeFormat(L"Delete \"%s\"?", {std::wstring(5000, L't')});
    EXPECT_EQ(question.size(), kFormatMaxLength);
    EXPECT_EQ(question.substr(0, 9), L"Delete \"t");
    EXPECT_EQ(SafeFormat(L"%d.%d", {3, 2}, 2), L"3.");
}

TEST(FormatConversionsTest, ListsWhatAFormatAsksFor) {
    EXPECT_EQ(FormatConversions(L"Version %d.%02d"), L"dd");
    EXPECT_EQ(FormatConversions(L"Delete \"%-20s\"?"), L"s");
    EXPECT_EQ(FormatConversions(L"100%% sure"), L"");
    EXPECT_EQ(FormatConversions(L"%n and %x"), L"??");
    EXPECT_EQ(FormatConversions(L"%s %d %"), L"sd?");
}

}  // namespace
