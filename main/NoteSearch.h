#pragma once
// Matching notes against the words typed into the search box: every word must
// occur in the note's title or in its text, whatever the case and accents.
//
// Texts are folded once, character by character, with a folding the caller
// supplies (the system's case mapping and decomposition on Windows), and then
// searched as plain strings: asking the system to compare a note for every
// keystroke costs milliseconds per note under some systems. Each folded
// character remembers the characters of the original it came from, so that a
// match can be shown where it is in the original.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace NoteSearch {

struct Folded {
    std::wstring text;
    // For each folded code unit, the original's code units [from, to) it came from.
    std::vector<uint32_t> from, to;
};

// Folds one character of the original, a code unit or a surrogate pair: into
// lower case without its accents (nonspacing marks). May return several code
// units or none.
using CharFolding = std::function<std::wstring(const std::wstring& character)>;

class Folder {
public:
    explicit Folder(CharFolding folding) : folding(std::move(folding)) {}
    // ASCII is lowered here; every other character goes to the folding once
    // and is remembered.
    Folded Fold(const std::wstring& text);

private:
    CharFolding folding;
    std::unordered_map<std::wstring, std::wstring> known;
};

// The words of a query: runs of characters between blanks (code units up to
// U+0020, no-break and ideographic spaces).
std::vector<std::wstring> SplitWords(const std::wstring& query);

// The query's words folded; words that fold to nothing are dropped.
std::vector<std::wstring> FoldedWords(Folder& folder, const std::wstring& query);

// Whether every word occurs in the title or in the text. No words: true.
bool MatchesAll(const std::vector<std::wstring>& words, const Folded& title, const Folded& text);

// Where the words occur in the original of `shown`: sorted ranges [begin, end)
// of its code units, overlapping and touching ones merged.
std::vector<std::pair<size_t, size_t>> MatchRanges(const std::vector<std::wstring>& words,
                                                   const Folded& shown);

}  // namespace NoteSearch
