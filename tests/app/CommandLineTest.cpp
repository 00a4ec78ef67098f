#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <memory>

TEST(CleanCommandLine, DropsEveryQuoteAndApostropheAnywhere) {
    const struct {
        const wchar_t *raw, *path;
    } cases[] = {
        {L"\"C:\\My Notes\\list.txt\"", L"C:\\My Notes\\list.txt"},
        {L"'C:\\a\"b\"c'it's.txt", L"C:\\abcits.txt"},
        {L"\"\"''", L""},
        // Nothing else is parsed: spaces and a second "argument" stay part of the path.
        {L"  a.txt b.txt ", L"  a.txt b.txt "},
        // Typographic quotes are ordinary characters.
        {L"\u201Cx\u201D\u2019.txt", L"\u201Cx\u201D\u2019.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanCommandLine(c.raw), c.path) << c.raw;
    EXPECT_EQ(CleanCommandLine(nullptr), L"");
}

TEST(HandOverPayload, EncodingIsUtf16LeWithOneWholeTerminator) {
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ((Bytes{'a', 0, 0xAC, 0x20, 0, 0}), EncodeHandOverPayload(L"a\u20AC"));
    EXPECT_EQ((Bytes{0, 0}), EncodeHandOverPayload(L""));
    const std::wstring path = L"C:\\Notizen \u00FC\xD83D\xDE00.txt";
    const Bytes bytes = EncodeHandOverPayload(path);
    EXPECT_EQ((path.size() + 1) * 2, bytes.size());
    EXPECT_EQ(path, DecodeHandOverPayload(bytes.data(), bytes.size()));
}

// The bytes come from another process: each case copies them into a heap block
// of exactly the stated size, so that reading past it is caught by the sanitizers.
TEST(HandOverPayload, DecodingReadsNoMoreThanItIsGiven) {
    const struct {
        std::vector<unsigned char> bytes;
        std::wstring path;
    } cases[] = {
        {{'a', 0, 0xAC, 0x20, 0, 0}, L"a\u20AC"},
        {{'a', 0, 'b', 0}, L"ab"},  // no terminator: the text runs to the end
        {{'a', 0, 'b'}, L"a"},      // the incomplete last code unit is dropped
        {{}, L""},
        {{'a', 0, 0, 0, 'b', 0}, L"a"},  // the first zero code unit ends the text
        {{0, 'a', 'b', 0}, std::wstring{wchar_t(0x6100), L'b'}},  // a zero byte is no terminator
    };
    for (const auto& c : cases) {
        std::unique_ptr<unsigned char[]> block(new unsigned char[c.bytes.size() + !c.bytes.size()]);
        std::copy(c.bytes.begin(), c.bytes.end(), block.get());
        EXPECT_EQ(DecodeHandOverPayload(c.bytes.empty() ? nullptr : block.get(), c.bytes.size()),
                  c.path)
            << c.bytes.size();
    }
    EXPECT_EQ(DecodeHandOverPayload(nullptr, 100), L"");
}
