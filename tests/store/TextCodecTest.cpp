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

}  // namespace
