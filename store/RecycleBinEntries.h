#pragma once
// Reading the recycle bin back: the deleted notes it holds, told apart by its
// separator lines, and taking one of them out again.
//
// The bin is written as UTF-16LE without a byte-order mark, but the user opens it
// in an editor and may save it back with a byte-order mark or as UTF-8, cut it
// short or delete parts of it. What can still be read is listed; a block is
// removed by cutting its bytes out of the file, so that the rest of the file,
// its encoding included, stays exactly as it was.
//
// A separator is the whole 79-character sequence (CR LF, 75 equals signs, CR LF).
// Lines of another number of equals signs, or without the line breaks around
// them, are text. A line of exactly 75 equals signs at the end of a note's text
// makes a chain with the separator after it; the file is read from its end, where
// the last separator always is, so the line stays with its text. The file cannot
// tell a note whose own text holds the whole sequence from two notes: it reads
// back as two entries (and one that begins with such a line gives it to the
// entry before it).

#include <cstddef>
#include <string>
#include <vector>

namespace RecycleBin {

struct BinEntry {
    size_t begin = 0;  // byte offset of the entry's text in the file
    size_t end = 0;    // byte offset just past its separator (the file's end when cut short)
    std::wstring text;
    bool cutShort = false;  // the file ends inside this entry: no separator follows it
};

// The entries of a bin's bytes, oldest first (in file order). Blocks without
// visible text (what a hand edit may leave between two separators) are left
// out. A file that ends inside an entry lists the text that is there, without
// the part of a separator it was cut in.
std::vector<BinEntry> ParseBinEntries(const std::string& bytes);

// The entries of the bin file; empty when it is missing or unreadable.
std::vector<BinEntry> ReadBinEntries(const std::wstring& path);

// Removes the entry (as ReadBinEntries gave it) from the file in one step. False,
// with the file untouched, when the file cannot be read or written or no longer
// holds that entry at that place (it was changed since it was read).
bool RemoveBinEntry(const std::wstring& path, const BinEntry& entry);

// The first line of the text that holds visible characters, without the blanks
// around it, cut to maxUnits code units (one less rather than split a surrogate
// pair) followed by "..." when longer.
std::wstring FirstVisibleLine(const std::wstring& text, size_t maxUnits);

// The number of characters, a surrogate pair counted once.
size_t CountCharacters(const std::wstring& text);

}  // namespace RecycleBin
