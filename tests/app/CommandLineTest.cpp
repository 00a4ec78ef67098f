#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// Whole command lines as Windows hands them to the process: from a quoted or an
// old unquoted Run value, from a shell, from another program.
TEST(FileFromCommandLine, SkipsTheProgramAsStartedAndCleansTheRest) {
    const std::wstring program = L"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe";
    const struct {
        const wchar_t *line, *file;
    } cases[] = {
        // The exact string an unquoted Run value makes Windows pass.
        {L"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe", L""},
        {L"c:\\program files\\vellomar notes 3\\ZEPHYN3.EXE  ", L""},
        {L"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe C:\\My Notes\\a.txt",
         L"C:\\My Notes\\a.txt"},
        {L"\"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe\"", L""},
        {L"\"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe\" \"C:\\it's.txt\"", L"C:\\its.txt"},
        {L"\"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe\"a.txt", L"a.txt"},
        // Started by another name or from elsewhere: its first word is its name.
        {L"Zephyn3 a b.txt", L"a b.txt"},
        {L"\tZephyn3.exe\t\"x.txt\"", L"x.txt"},
        {L"\"D:\\copy of\\Zephyn3.exe\" x.txt", L"x.txt"},
        {L"C:\\Program Files\\Vellomar Notes 3\\Zephyn3.exe.bak x.txt",
         L"Files\\Vellomar Notes 3\\Zephyn3.exe.bak x.txt"},
        {L"\"unclosed", L""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileFromCommandLine(c.line, program), c.file) << c.line;
    EXPECT_EQ(FileFromCommandLine(nullptr, program), L"");
    EXPECT_EQ(FileFromCommandLine(L"prog a.txt", L""), L"a.txt");
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

// A hand-over as long as a path can be is taken; one unit more, or a megabyte,
// is refused without being read.
TEST(HandOverPayload, PathsPastTheLongestAreRefused) {
    for (const size_t units : {kMaxHandOverUnits, kMaxHandOverUnits + 1, size_t{1} << 19}) {
        const std::wstring path(units, L'p');
        std::vector<unsigned char> bytes = EncodeHandOverPayload(path);
        const bool taken = units <= kMaxHandOverUnits;
        EXPECT_EQ(DecodeHandOverPayload(bytes.data(), bytes.size()).size(), taken ? units : 0u);
        // Without its terminator too.
        EXPECT_EQ(DecodeHandOverPayload(bytes.data(), bytes.size() - 2).size(), taken ? units : 0u);
    }
}

TEST(PathForMessage, LongPathsAreCutInTheMiddleAndLinesCannotBeForged) {
    EXPECT_EQ(PathForMessage(L"C:\\a\r\nb\t.txt"), L"C:\\a??b?.txt");
    const std::wstring fits(kMessagePathUnits, L'x');
    EXPECT_EQ(PathForMessage(fits), fits);
    const std::wstring end = L"\\name of the file.txt";
    const std::wstring shown = PathForMessage(L"C:\\" + std::wstring(40000, L'd') + end);
    EXPECT_EQ(shown.size(), kMessagePathUnits);
    EXPECT_EQ(shown.substr(0, 4), L"C:\\d");
    EXPECT_EQ(shown.substr(shown.size() - end.size()), end);
    EXPECT_NE(shown.find(L'\u2026'), std::wstring::npos);
    // Pairs at both cuts stay whole or go whole.
    std::wstring pairs;
    for (int i = 0; i < 300; ++i) pairs += L"\xD83D\xDE00";
    const std::wstring cut = PathForMessage(L"a" + pairs);
    EXPECT_LE(cut.size(), kMessagePathUnits);
    for (size_t i = 0; i < cut.size(); ++i) {
        if (cut[i] >= 0xD800 && cut[i] <= 0xDBFF) {
            ASSERT_LT(i + 1, cut.size());
            EXPECT_TRUE(cut[i + 1] >= 0xDC00 && cut[i + 1] <= 0xDFFF) << i;
        } else if (cut[i] >= 0xDC00 && cut[i] <= 0xDFFF) {
            EXPECT_TRUE(i > 0 && cut[i - 1] >= 0xD800 && cut[i - 1] <= 0xDBFF) << i;
        }
    }
}

// Opening a hand-over can show a box whose message loop takes in the next ones:
// they wait until the first is done, and a flood is cut off.
TEST(HandOverQueue, OneAtATimeInTheOrderSentAndAFloodIsCut) {
    HandOverQueue queue;
    std::vector<std::wstring> opened;
    int depth = 0, deepest = 0;
    std::function<void(const std::wstring&)> open = [&](const std::wstring& path) {
        deepest = std::max(deepest, ++depth);
        opened.push_back(path);
        if (path == L"first") {
            // Arriving while the first one's box is open.
            for (int i = 0; i < 40; ++i) {
                queue.Push(L"more " + std::to_wstring(i));
                queue.Drain(open);
            }
        }
        --depth;
    };
    ASSERT_TRUE(queue.Push(L"first"));
    queue.Drain(open);
    EXPECT_EQ(deepest, 1);
    ASSERT_EQ(opened.size(), 1 + HandOverQueue::kMaxPending);
    EXPECT_EQ(opened[1], L"more 0");
    EXPECT_EQ(opened.back(), L"more " + std::to_wstring(HandOverQueue::kMaxPending - 1));
    EXPECT_EQ(queue.Pending(), 0u);
    // Once drained, the queue takes hand-overs again.
    EXPECT_TRUE(queue.Push(L"later"));
    queue.Drain(open);
    EXPECT_EQ(opened.back(), L"later");
}

// The running instance works in a folder of its own: what a second start hands
// over must already name the file the user meant from where he started it.
TEST(FullPathFrom, RelativePathsResolveAgainstTheStartFolder) {
    const struct {
        const wchar_t *start, *path, *full;
    } cases[] = {
        {L"C:\\Users\\ann\\Desktop", L"list.txt", L"C:\\Users\\ann\\Desktop\\list.txt"},
        {L"C:\\Users\\ann\\Desktop\\", L".\\a\\..\\list.txt", L"C:\\Users\\ann\\Desktop\\list.txt"},
        {L"C:\\Users\\ann", L"..\\..\\..\\..\\x.txt", L"C:\\x.txt"},  // never above the root
        {L"C:\\Users\\ann", L"sub/x.txt", L"C:\\Users\\ann\\sub\\x.txt"},
        {L"C:\\Users\\ann", L"D:\\notes\\x.txt", L"D:\\notes\\x.txt"},
        {L"C:\\Users\\ann", L"\\x.txt", L"C:\\x.txt"},
        {L"C:\\Users\\ann", L"c:x.txt", L"C:\\Users\\ann\\x.txt"},
        {L"C:\\Users\\ann", L"D:x.txt", L"D:\\x.txt"},
        {L"\\\\srv\\share\\dir", L"..\\x.txt", L"\\\\srv\\share\\x.txt"},
        {L"\\\\srv\\share\\dir", L"\\x.txt", L"\\\\srv\\share\\x.txt"},
        {L"C:\\Users\\ann", L"\\\\srv\\share\\x.txt", L"\\\\srv\\share\\x.txt"},
        {L"C:\\", L"x.txt", L"C:\\x.txt"},
        {L"C:\\Users\\ann", L"out\\", L"C:\\Users\\ann\\out\\"},
        {L"C:\\Users\\ann", L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FullPathFrom(c.start, c.path), c.full) << c.path;
}
