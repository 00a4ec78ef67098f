#include "store/TextCodec.h"

#include <gtest/gtest.h>

namespace {

using TextCodec::Encoding;

TEST(TextCodec, Utf16LeRoundTripKeepsEveryCodeUnit) {
    std::wstring text = L"A";
    text += static_cast<wchar_t>(0xD83D);  // a surrogate pair
    text += static_cast<wchar_t>(0xDE00);
    text += static_cast<wchar_t>(0xDC00);  // an unpaired low surrogate survives too
    text += static_cast<wchar_t>(0xFFFF);
    const std::string bytes = TextCodec::ToUtf16Le(text);
    ASSERT_EQ(10u, bytes.size());
    EXPECT_EQ('A', bytes[0]);
    EXPECT_EQ('\0', bytes[1]);
    EXPECT_EQ(text, TextCodec::FromUtf16Le(bytes.data(), bytes.size()));
    // An odd trailing byte is not half a character.
    EXPECT_EQ(text, TextCodec::FromUtf16Le((bytes + "x").data(), bytes.size() + 1));
}

TEST(TextCodec, Utf8RejectsIllFormedSequences) {
    EXPECT_TRUE(TextCodec::IsValidUtf8("plain"));
    EXPECT_TRUE(TextCodec::IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(TextCodec::IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(TextCodec::IsValidUtf8("\xED\xA0\x80"));      // encoded surrogate
    EXPECT_FALSE(TextCodec::IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(TextCodec::IsValidUtf8("\xE2\x82"));          // cut short
    EXPECT_EQ(std::wstring(L"a\xFFFD" L"b"), TextCodec::FromUtf8("a\xFF" "b"));
}

TEST(TextCodec, Utf8RoundTripIncludingAstralPlane) {
    std::wstring text = L"Gr\x00FC\x00DF\x20AC ";
    text += static_cast<wchar_t>(0xD83D);
    text += static_cast<wchar_t>(0xDE00);
    EXPECT_EQ(text, TextCodec::FromUtf8(TextCodec::ToUtf8(text)));
    EXPECT_EQ("\xF0\x9F\x98\x80", TextCodec::ToUtf8(text.substr(6)));
}

TEST(TextCodec, DecodeRecognisesEachEncoding) {
    Encoding e;
    EXPECT_EQ(L"h\x00E9", TextCodec::Decode(std::string("\xFF\xFEh\0\xE9\0", 6), &e));
    EXPECT_EQ(Encoding::Utf16LeBom, e);
    EXPECT_EQ(L"h\x00E9", TextCodec::Decode("\xEF\xBB\xBFh\xC3\xA9", &e));
    EXPECT_EQ(Encoding::Utf8Bom, e);
    EXPECT_EQ(L"h\x00E9", TextCodec::Decode("h\xC3\xA9", &e));
    EXPECT_EQ(Encoding::Utf8, e);
    EXPECT_EQ(L"h\x00E9", TextCodec::Decode("h\xE9", &e));
    EXPECT_EQ(Encoding::Ansi, e);
    // Pure ASCII stays ANSI, so an ASCII file is rewritten as it was.
    TextCodec::Decode("ascii", &e);
    EXPECT_EQ(Encoding::Ansi, e);
}

TEST(TextCodec, EncodeAnsiFailsRatherThanLosingCharacters) {
    std::string bytes;
    EXPECT_TRUE(TextCodec::Encode(L"caf\x00E9 \x20AC", Encoding::Ansi, bytes));
    EXPECT_EQ(L"caf\x00E9 \x20AC", TextCodec::Decode(bytes));
    EXPECT_FALSE(TextCodec::Encode(L"\x043F\x0440\x0438", Encoding::Ansi, bytes));
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(TextCodec::Encode(L"x", Encoding::Utf16LeBom, bytes));
    EXPECT_EQ(std::string("\xFF\xFEx\0", 4), bytes);
    ASSERT_TRUE(TextCodec::Encode(L"x", Encoding::Utf8Bom, bytes));
    EXPECT_EQ("\xEF\xBB\xBFx", bytes);
}

}  // namespace
