#include "store/TextCodec.h"

#include <gtest/gtest.h>

namespace {

// Detection and the ANSI fallback are covered through the INI files; these are
// the conversions that must not lose or invent a character.
TEST(TextCodec, Utf16LeKeepsEveryCodeUnitAndUtf8RejectsIllFormedSequences) {
    // A pair, an unpaired low surrogate and a non-character all survive; an odd
    // trailing byte is not half a character.
    const std::wstring text = L"A\xD83D\xDE00\xDC00\xFFFF";
    const std::string bytes = TextCodec::ToUtf16Le(text) + "x";
    EXPECT_EQ(std::string("A\0\x3D\xD8\0\xDE\0\xDC\xFF\xFFx", 11), bytes);
    EXPECT_EQ(text, TextCodec::FromUtf16Le(bytes.data(), bytes.size()));

    EXPECT_TRUE(TextCodec::IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
        EXPECT_FALSE(TextCodec::IsValidUtf8(bad)) << bad;  // overlong, surrogate, too big, cut
    }
    EXPECT_EQ(
        L"a\xFFFD"
        L"b",
        TextCodec::FromUtf8("a\xFF"
                            "b"));
}

TEST(TextCodec, Utf8LengthsChangeExactlyAtTheirBoundaries) {
    const struct {
        std::wstring text;
        std::string utf8;
    } cases[] = {
        {L"\x7F", "\x7F"},
        {L"\x80", "\xC2\x80"},
        {L"\x7FF", "\xDF\xBF"},
        {L"\x800", "\xE0\xA0\x80"},
        {L"\xFFFD", "\xEF\xBF\xBD"},
        {L"\xFFFF", "\xEF\xBF\xBF"},                    // the last in 16 bits
        {L"\xD800\xDC00", "\xF0\x90\x80\x80"},          // U+10000, the first beyond 16 bits
        {L"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},          // U+10FFFF, the last there is
        {L"\xD800\xDFFF", "\xF0\x90\x8F\xBF"},          // the last low surrogate
        {L"\xDBFF\xDC00", "\xF4\x8F\xB0\x80"},          // the last high surrogate
        {L"\xD7FF\xE000", "\xED\x9F\xBF\xEE\x80\x80"},  // just outside the surrogates
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.utf8, TextCodec::ToUtf8(c.text)) << c.utf8.size();
        EXPECT_EQ(c.text, TextCodec::FromUtf8(c.utf8)) << c.utf8.size();
        EXPECT_TRUE(TextCodec::IsValidUtf8(c.utf8)) << c.utf8.size();
    }
    // An unpaired surrogate, whatever follows it, becomes U+FFFD.
    for (const auto& [text, utf8] :
         {std::pair<std::wstring, std::string>{L"\xD800\xE000", "\xEF\xBF\xBD\xEE\x80\x80"},
          {L"\xD800-", "\xEF\xBF\xBD-"},
          {L"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"}}) {
        EXPECT_EQ(utf8, TextCodec::ToUtf8(text)) << utf8.size();
    }
    // The same values in one byte more than they need are not UTF-8, nor are
    // surrogates, values past U+10FFFF, stray or missing continuation bytes.
    for (const char* bad :
         {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
          "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x80", "\xC2", "\xC2\xC0", "\xE0\xA0"}) {
        EXPECT_FALSE(TextCodec::IsValidUtf8(bad)) << bad;
    }
}

TEST(TextCodec, DecodeTakesAMarkFirstThenUtf8WithSomethingBeyondAsciiThenAnsi) {
    using E = TextCodec::Encoding;
    const struct {
        std::string bytes;
        E encoding;
        std::wstring text;
    } cases[] = {
        {std::string("\xFF\xFE"
                     "A\0\xAC\x20",
                     6),
         E::Utf16LeBom, L"A\x20AC"},
        {"\xFF\xFE", E::Utf16LeBom, L""},
        {"\xFF", E::Ansi, L"\xFF"},
        {"\xFE\xFF", E::Ansi, L"\xFE\xFF"},  // big-endian is not read
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9",
         E::Utf8Bom, L"caf\xE9"},
        {"\xEF\xBB\xBF", E::Utf8Bom, L""},
        {"\xEF\xBB", E::Ansi, L"\xEF\xBB"},
        {"caf\xC3\xA9", E::Utf8, L"caf\xE9"},
        {"caf\xE9", E::Ansi, L"caf\xE9"},
        {"plain", E::Ansi, L"plain"},
        {"", E::Ansi, L""},
    };
    for (const auto& c : cases) {
        E detected = E::Utf8;
        EXPECT_EQ(c.text, TextCodec::Decode(c.bytes, &detected)) << c.bytes;
        EXPECT_EQ(c.encoding, detected) << c.bytes;
    }
}

TEST(TextCodec, TextHoldsNoNulAndFewerThanOneControlInAHundred) {
    const std::wstring forgiven = L"\t\n\r\f\v\x1A\x1B";
    const struct {
        const char* what;
        std::wstring text;
        bool looksLikeText;
    } cases[] = {
        {"nothing", L"", true},
        {"white space, end of file and escape", forgiven + forgiven, true},
        {"a NUL", std::wstring(L"ab\0c", 4), false},
        {"one control in 100", L"\x01" + std::wstring(99, L'a'), false},
        {"one control in 101", L"\x1F" + std::wstring(100, L'a'), true},
        {"two in 200", L"\x01\x02" + std::wstring(198, L'a'), false},
        {"two in 201", L"\x01\x02" + std::wstring(199, L'a'), true},
        {"a control alone", L"\x01", false},
        {"a space is no control", std::wstring(5, L' '), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.looksLikeText, TextCodec::LooksLikeText(c.text)) << c.what;
}

TEST(TextCodec, AnsiHoldsExactlyWhatTheCodePageHas) {
    const struct {
        std::wstring text;
        std::string ansi;
    } cases[] = {
        {L"\x7F", "\x7F"},  {L"\xA0", "\xA0"},    // no-break space, the first above the C1 range
        {L"\xFF", "\xFF"},  {L"\x20AC", "\x80"},  // euro sign
        {L"\x81", "\x81"},  // a byte the code page leaves undefined stands for itself
        {L"\x178", "\x9F"},
    };
    for (const auto& c : cases) {
        std::string bytes;
        EXPECT_TRUE(TextCodec::ToAnsi(c.text, bytes)) << c.ansi;
        EXPECT_EQ(c.ansi, bytes);
        EXPECT_EQ(c.text, TextCodec::FromAnsi(c.ansi));
    }
    // U+009F has no byte: 0x9F stands for U+0178. Nor has anything beyond the code page.
    for (const wchar_t* text : {L"\x80", L"\x9F", L"\x100", L"a\x4E2D"}) {
        std::string bytes;
        EXPECT_FALSE(TextCodec::ToAnsi(text, bytes));
    }
}

}  // namespace
