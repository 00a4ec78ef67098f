#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <memory>

TEST(CleanCommandLine, DropsEveryQuoteAndApostropheAnywhere) {
    const struct {
        const wchar_t* raw;
        const wchar_t* path;
    } cases[] = {
        {L"\"C:\\My Notes\\list.txt\"", L"C:\\My Notes\\list.txt"},
        {L"C:\\dir\\it's.txt", L"C:\\dir\\its.txt"},
        {L"'C:\\a\"b\"c'.txt", L"C:\\abc.txt"},
        {L"\"\"", L""},
        {L"'''", L""},
        {L"", L""},
        // Nothing else is parsed: spaces and a second "argument" stay part of the path.
        {L"  a.txt b.txt ", L"  a.txt b.txt "},
        // Typographic quotes are ordinary characters.
        {L"\u201Cx\u201D\u2019.txt", L"\u201Cx\u201D\u2019.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanCommandLine(c.raw), c.path) << c.raw;
    EXPECT_EQ(CleanCommandLine(nullptr), L"");
}

TEST(HandOverPayload, CarriesUtf16LeTextAndTerminator) {
    const std::wstring path = L"C:\\\u00C4\u20AC.txt";
    const std::vector<unsigned char> bytes = EncodeHandOverPayload(path);
    EXPECT_EQ(bytes, (std::vector<unsigned char>{'C', 0, ':', 0, '\\', 0, 0xC4, 0, 0xAC, 0x20,
                                                 '.', 0, 't', 0, 'x',  0, 't',  0, 0,    0}));
    EXPECT_EQ(DecodeHandOverPayload(bytes.data(), bytes.size()), path);
    EXPECT_EQ(EncodeHandOverPayload(L"").size(), 2u);
}

// The bytes come from another process: each case copies them into a heap block
// of exactly the stated size, so that reading past it is caught by the sanitizers.
static std::wstring DecodeExact(const std::vector<unsigned char>& bytes) {
    std::unique_ptr<unsigned char[]> block(new unsigned char[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), block.get());
    return DecodeHandOverPayload(bytes.empty() ? nullptr : block.get(), bytes.size());
}

TEST(HandOverPayload, DecodingReadsNoMoreThanItIsGiven) {
    const struct {
        std::vector<unsigned char> bytes;
        std::wstring path;
    } cases[] = {
        {{'a', 0, 'b', 0, 0, 0}, L"ab"},
        // No terminator: the text runs to the end of the bytes.
        {{'a', 0, 'b', 0}, L"ab"},
        // An odd byte count: the incomplete last code unit is dropped.
        {{'a', 0, 'b'}, L"a"},
        {{'a'}, L""},
        {{}, L""},
        // The text ends at the first zero code unit even when more follows.
        {{'a', 0, 0, 0, 'b', 0}, L"a"},
        // A zero byte inside a code unit is not a terminator.
        {{0, 'a', 'b', 0}, std::wstring{wchar_t(0x6100), L'b'}},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeExact(c.bytes), c.path) << c.bytes.size();
    EXPECT_EQ(DecodeHandOverPayload(nullptr, 100), L"");
}
