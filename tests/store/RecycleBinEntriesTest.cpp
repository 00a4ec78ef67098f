// Reading deleted notes back from the recycle bin: the program's own bins, text
// that looks like a separator, bins an editor saved in another encoding, bins cut
// short, and taking one entry out.

#include "store/RecycleBinEntries.h"

#include <gtest/gtest.h>

#include "store/FileIo.h"
#include "store/RecycleBin.h"
#include "store/TextCodec.h"
#include "support/TestPaths.h"

namespace {

using RecycleBin::BinEntry;

const std::wstring kEquals(75, L'=');

std::string Bin(const std::vector<std::wstring>& texts) {
    std::string bytes;
    for (const auto& t : texts) bytes += TextCodec::ToUtf16Le(t + RecycleBin::Separator());
    return bytes;
}

std::vector<std::wstring> Texts(const std::vector<BinEntry>& entries) {
    std::vector<std::wstring> texts;
    for (const auto& e : entries) texts.push_back(e.text);
    return texts;
}

TEST(RecycleBinEntries, ManyEntriesInFileOrderWithTheirByteRanges) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < 500; ++i) {
        texts.push_back(L"note " + std::to_wstring(i) + std::wstring(i % 7, L'\u00E9') +
                        (i % 3 ? L"\r\nsecond line" : L""));
    }
    const std::string bytes = Bin(texts);
    const std::vector<BinEntry> entries = RecycleBin::ParseBinEntries(bytes);
    ASSERT_EQ(Texts(entries), texts);
    size_t at = 0;
    for (const BinEntry& e : entries) {
        EXPECT_EQ(e.begin, at);
        EXPECT_EQ(e.end, at + (e.text.size() + 79) * 2);
        EXPECT_FALSE(e.cutShort);
        at = e.end;
    }
    EXPECT_EQ(at, bytes.size());
    EXPECT_TRUE(RecycleBin::ParseBinEntries("").empty());
}

// Each text is written between two neighbours and must come back whole.
TEST(RecycleBinEntries, LinesThatLookLikeSeparatorsStayText) {
    const wchar_t sepOdd[] = {0x0D41, 0x0A00, 0};
    std::wstring misaligned = sepOdd;  // the separator's bytes, one byte off
    misaligned += std::wstring(75, wchar_t(0x3D00)) + wchar_t(0x0D00) + wchar_t(0x0A00) + L"x";
    const std::wstring cases[] = {
        L"a\r\n" + std::wstring(74, L'=') + L"\r\nb",
        L"a\r\n" + std::wstring(76, L'=') + L"\r\nb",
        L"a\n" + kEquals + L"\nb",
        L"a\r\n" + kEquals + L" \r\nb",
        L"a\r\n" + kEquals,        // ends with the line: a chain with its separator
        kEquals,                   // nothing but the line
        L"\r\n" + kEquals + L"x",  // the separator's start right after the last one
        L"a\r\n",
        L"=\r\n\r\n=",
        misaligned,
    };
    for (const std::wstring& text : cases) {
        const std::vector<std::wstring> texts = {L"before", text, L"after"};
        EXPECT_EQ(Texts(RecycleBin::ParseBinEntries(Bin(texts))), texts) << TestPaths::Narrow(text);
        // Last in the file too, where the chain meets the file's end.
        const std::vector<std::wstring> last = {L"before", text};
        EXPECT_EQ(Texts(RecycleBin::ParseBinEntries(Bin(last))), last) << TestPaths::Narrow(text);
    }
}

// What the format cannot tell apart, read the way the header says.
TEST(RecycleBinEntries, WholeSeparatorsInsideATextSplitIt) {
    EXPECT_EQ(Texts(RecycleBin::ParseBinEntries(Bin({L"a" + RecycleBin::Separator() + L"b"}))),
              (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(Texts(RecycleBin::ParseBinEntries(Bin({L"a", kEquals + L"\r\nb"}))),
              (std::vector<std::wstring>{L"a\r\n" + kEquals, L"b"}));
}

TEST(RecycleBinEntries, DamagedAndHandEditedBinsListWhatCanBeRead) {
    const std::string whole = Bin({L"one", L"two\r\nlines", L"three"});
    const size_t threeBegin = Bin({L"one", L"two\r\nlines"}).size();
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::wstring> texts;
        bool lastCut;
    } cases[] = {
        {"cut inside the last text",
         whole.substr(0, threeBegin + 4),
         {L"one", L"two\r\nlines", L"th"},
         true},
        {"cut inside a code unit",
         whole.substr(0, threeBegin + 5),
         {L"one", L"two\r\nlines", L"th"},
         true},
        {"cut inside the last separator",
         whole.substr(0, whole.size() - 20),
         {L"one", L"two\r\nlines", L"three"},
         true},
        {"cut after the separator's first equals sign",
         whole.substr(0, threeBegin + 10 + 6),
         {L"one", L"two\r\nlines", L"three"},
         true},
        {"cut right after a separator",
         whole.substr(0, threeBegin),
         {L"one", L"two\r\nlines"},
         false},
        {"blank blocks between separators",
         Bin({L"one", L"", L" \r\n\t"}) + Bin({L"two\r\nlines", L"three"}),
         {L"one", L"two\r\nlines", L"three"},
         false},
        {"byte-order mark", "\xFF\xFE" + whole, {L"one", L"two\r\nlines", L"three"}, false},
        {"UTF-8 with a mark",
         "\xEF\xBB\xBF" + TextCodec::ToUtf8(TextCodec::FromUtf16Le(whole.data(), whole.size())),
         {L"one", L"two\r\nlines", L"three"},
         false},
        {"UTF-8 without a mark, cut inside a character",
         TextCodec::ToUtf8(L"\u00E9t\u00E9" + RecycleBin::Separator() + L"x\u20AC").substr(0, 86),
         {L"\u00E9t\u00E9", L"x"},
         true},
        {"only a separator's start", TextCodec::ToUtf16Le(L"\r\n=="), {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<BinEntry> entries = RecycleBin::ParseBinEntries(c.bytes);
        EXPECT_EQ(Texts(entries), c.texts);
        if (entries.empty()) continue;
        EXPECT_EQ(entries.back().cutShort, c.lastCut);
        EXPECT_EQ(entries.back().end, c.bytes.size());
        for (const BinEntry& e : entries) EXPECT_LE(e.begin, e.end);
    }
}

class RemoveBinEntryTest : public ::testing::Test {
protected:
    std::string Read() const {
        std::string bytes = "unread";
        FileIo::ReadFile(bin, bytes);
        return bytes;
    }
    std::wstring bin = TestPaths::MakeScratchDir() + L"Recycle Bin.txt";
};

TEST_F(RemoveBinEntryTest, CutsOutOneBlockAndKeepsTheRestByteForByte) {
    for (const wchar_t* text : {L"first", L"second\r\nline", L"third"})
        ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, text));
    std::vector<BinEntry> entries = RecycleBin::ReadBinEntries(bin);
    ASSERT_EQ(entries.size(), 3u);
    ASSERT_TRUE(RecycleBin::RemoveBinEntry(bin, entries[1]));
    EXPECT_EQ(Read(), Bin({L"first", L"third"}));
    // Read before the removal, the entry is no longer there: nothing changes.
    EXPECT_FALSE(RecycleBin::RemoveBinEntry(bin, entries[1]));
    EXPECT_FALSE(RecycleBin::RemoveBinEntry(bin, entries[2]));  // it moved
    EXPECT_EQ(Read(), Bin({L"first", L"third"}));

    // A later deletion leaves the older entries where they were.
    ASSERT_TRUE(RecycleBin::AppendToRecycleBin(bin, L"fourth"));
    ASSERT_TRUE(RecycleBin::RemoveBinEntry(bin, entries[0]));
    EXPECT_EQ(Read(), Bin({L"third", L"fourth"}));
    entries = RecycleBin::ReadBinEntries(bin);
    ASSERT_EQ(entries.size(), 2u);
    // Newest first, each removal leaves the older ones in place: the bin ends empty.
    ASSERT_TRUE(RecycleBin::RemoveBinEntry(bin, entries[1]));
    ASSERT_TRUE(RecycleBin::RemoveBinEntry(bin, entries[0]));
    EXPECT_EQ(Read(), "");
}

TEST_F(RemoveBinEntryTest, KeepsAnEditorsEncodingAndTakesACutShortTail) {
    const std::string utf8 =
        "\xEF\xBB\xBF" + TextCodec::ToUtf8(L"caf\u00E9" + RecycleBin::Separator() + L"na\u00EFve" +
                                           RecycleBin::Separator() + L"cut sh");
    ASSERT_TRUE(FileIo::WriteFileAtomically(bin, utf8));
    std::vector<BinEntry> entries = RecycleBin::ReadBinEntries(bin);
    ASSERT_EQ(Texts(entries), (std::vector<std::wstring>{L"caf\u00E9", L"na\u00EFve", L"cut sh"}));
    ASSERT_TRUE(RecycleBin::RemoveBinEntry(bin, entries[2]));
    ASSERT_TRUE(RecycleBin::RemoveBinEntry(bin, entries[0]));
    EXPECT_EQ(Read(), "\xEF\xBB\xBF" + TextCodec::ToUtf8(L"na\u00EFve" + RecycleBin::Separator()));

    const std::wstring missing = TestPaths::MakeScratchDir() + L"none.txt";
    EXPECT_TRUE(RecycleBin::ReadBinEntries(missing).empty());
    EXPECT_FALSE(RecycleBin::RemoveBinEntry(missing, entries[1]));
    EXPECT_FALSE(FileIo::FileExists(missing));
}

TEST(RecycleBinEntries, FirstVisibleLineIsTrimmedAndCut) {
    const struct {
        std::wstring text;
        size_t max;
        std::wstring line;
    } cases[] = {
        {L"\r\n \t\r\n  hello world \r\nnext", 40, L"hello world"},
        {L"one\rtwo", 40, L"one"},
        {L"one\ntwo", 40, L"one"},
        {L"abcdef", 6, L"abcdef"},
        {L"abcdefg", 6, L"abcdef..."},
        {L"abcde\xD83D\xDE00z", 6, L"abcde..."},  // not half of the pair
        {L"abcd\xD83D\xDE00z", 6, L"abcd\xD83D\xDE00..."},
        {L" \r\n\t", 10, L""},
        {L"", 10, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecycleBin::FirstVisibleLine(c.text, c.max), c.line) << TestPaths::Narrow(c.text);
    EXPECT_EQ(RecycleBin::CountCharacters(L"a\xD83D\xDE00\r\n\xDE00\xD83D"),
              6u);  // unpaired halves count
    EXPECT_EQ(RecycleBin::CountCharacters(L"\xD83D"), 1u);
    EXPECT_EQ(RecycleBin::CountCharacters(L""), 0u);
}

}  // namespace
