#include "store/TextCodec.h"

#include <gtest/gtest.h>

namespace {

using TextCodec::Encoding;

TEST(TextCodec, Utf16LeKeepsEveryCodeUnit) {
    // A pair, an unpaired low surrogate and a non-character all survive.
    const std::wstring text = L"A\xD83D\xDE00\xDC00\xFFFF";
    const std::string bytes = TextCodec::ToUtf16Le(text);
    EXPECT_EQ(std::string("A\0\x3D\xD8\0\xDE\0\xDC\xFF\xFF", 10), bytes);
    EXPECT_EQ(text, TextCodec::FromUtf16Le(bytes.data(), bytes.size()));
    // An odd trailing byte is not half a character.
    EXPECT_EQ(text, TextCodec::FromUtf16Le((bytes + "x").data(), bytes.size() + 1));
}

TEST(TextCodec, Utf8RoundTripsAndRejectsIllFormedSequences) {
    const std::wstring text = L"Gr\x00FC\x00DF\x20AC \xD83D\xDE00";
    EXPECT_EQ(text, TextCodec::FromUtf8(TextCodec::ToUtf8(text)));
    EXPECT_EQ("\xF0\x9F\x98\x80", TextCodec::ToUtf8(text.substr(6)));
    EXPECT_TRUE(TextCodec::IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
        EXPECT_FALSE(TextCodec::IsValidUtf8(bad)) << bad;  // overlong, surrogate, too big, cut
    }
    EXPECT_EQ(std::wstring(L"a\xFFFD"
                           L"b"),
              TextCodec::FromUtf8("a\xFF"
                                  "b"));
}

TEST(TextCodec, DecodeRecognisesEachEncoding) {
    const struct {
        std::string bytes;
        Encoding encoding;
    } cases[] = {
        {std::string("\xFF\xFEh\0\xE9\0", 6), Encoding::Utf16LeBom},
        {"\xEF\xBB\xBFh\xC3\xA9", Encoding::Utf8Bom},
        {"h\xC3\xA9", Encoding::Utf8},
        {"h\xE9", Encoding::Ansi},
    };
    for (const auto& c : cases) {
        Encoding e;
        EXPECT_EQ(L"h\x00E9", TextCodec::Decode(c.bytes, &e));
        EXPECT_EQ(c.encoding, e);
    }
    // Pure ASCII stays ANSI, so an ASCII file is rewritten as it was.
    Encoding e;
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
