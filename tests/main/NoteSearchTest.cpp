// The search box's rules over folded texts, with a folding of a few accented
// letters standing in for the system's.

#include "main/NoteSearch.h"

#include <gtest/gtest.h>

#include <map>

#include "support/TestPaths.h"

namespace {

using NoteSearch::Folded;

// What the system does for these: lower case without accents, "ß" untouched,
// a lone combining mark to nothing, an emoji as it is.
std::wstring FoldFew(const std::wstring& c) {
    static const std::map<std::wstring, std::wstring> table = {
        {L"\u00E9", L"e"}, {L"\u00C9", L"e"},  {L"\u00EF", L"i"},       {L"\u00DC", L"u"},
        {L"\u0301", L""},  {L"\uFB01", L"fi"}, {L"\u0130", L"i\u0307"}, {L"\u039A", L"\u03BA"},
    };
    const auto it = table.find(c);
    return it == table.end() ? c : it->second;
}

class NoteSearchTest : public ::testing::Test {
protected:
    Folded Fold(const std::wstring& text) { return folder.Fold(text); }
    std::vector<std::wstring> Words(const std::wstring& query) {
        return NoteSearch::FoldedWords(folder, query);
    }
    int calls = 0;
    NoteSearch::Folder folder{[this](const std::wstring& c) {
        ++calls;
        return FoldFew(c);
    }};
};

TEST_F(NoteSearchTest, FoldingKeepsWhereEachUnitCameFrom) {
    const Folded f = Fold(L"Caf\u00E9 \uFB01n\xD83D\xDE00X\u0301");
    EXPECT_EQ(f.text, L"cafe fin\xD83D\xDE00x");
    EXPECT_EQ(f.from, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 5, 6, 7, 7, 9}));
    EXPECT_EQ(f.to, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 6, 7, 9, 9, 10}));
    // Each character beyond ASCII goes to the system once, however often it occurs.
    const int before = calls;
    Fold(L"\u00E9\u00E9\u00E9 \uFB01");
    EXPECT_EQ(calls, before);
    // A lone half of a surrogate pair is a character of its own.
    EXPECT_EQ(Fold(L"a\xDE00\xD83D").text, L"a\xDE00\xD83D");
}

TEST_F(NoteSearchTest, WordsSplitAtEveryKindOfBlank) {
    EXPECT_EQ(NoteSearch::SplitWords(L"  one\ttwo\r\nthree\u00A0four\u3000five  "),
              (std::vector<std::wstring>{L"one", L"two", L"three", L"four", L"five"}));
    EXPECT_TRUE(NoteSearch::SplitWords(L" \t ").empty());
    EXPECT_EQ(Words(L"Caf\u00C9 \u0301 X"), (std::vector<std::wstring>{L"cafe", L"x"}));
}

TEST_F(NoteSearchTest, EveryWordInTitleOrText) {
    const Folded title = Fold(L"Einkauf"), text = Fold(L"Br\u00F6tchen, CAF\u00C9\r\nMilch");
    const struct {
        const wchar_t* query;
        bool match;
    } cases[] = {
        {L"", true},
        {L"   ", true},
        {L"einkauf cafe", true},     // one word in each
        {L"Caf\u00E9 MILCH", true},  // accents and case either way
        {L"kauf milch", true},       // inside words
        {L"einkauf tee", false},     // one word missing
        {L"cafemilch", false},       // not across the line break
        {L"n, c", true},             // punctuation is part of a word
        {L"einkaufbr", false},       // not across title and text
        {L"\u00FC", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoteSearch::MatchesAll(Words(c.query), title, text), c.match)
            << TestPaths::Narrow(c.query);
}

TEST_F(NoteSearchTest, RangesPointIntoTheOriginalAndMerge) {
    using Ranges = std::vector<std::pair<size_t, size_t>>;
    const Folded shown = Fold(L"\uFB01ne Caf\u00E9s, caf\u00E9!");
    EXPECT_EQ(NoteSearch::MatchRanges(Words(L"cafe"), shown), (Ranges{{4, 8}, {11, 15}}));
    // Half of a ligature lights the whole ligature.
    EXPECT_EQ(NoteSearch::MatchRanges(Words(L"i"), shown), (Ranges{{0, 1}}));
    // Overlapping and touching matches of several words become one range.
    EXPECT_EQ(NoteSearch::MatchRanges(Words(L"caf afe s,"), shown), (Ranges{{4, 10}, {11, 15}}));
    EXPECT_TRUE(NoteSearch::MatchRanges(Words(L"tea"), shown).empty());
    EXPECT_TRUE(NoteSearch::MatchRanges({}, shown).empty());
    // A repeated letter: every place, even overlapping ones.
    EXPECT_EQ(NoteSearch::MatchRanges(Words(L"aa"), Fold(L"xaaay")), (Ranges{{1, 4}}));
}

}  // namespace
