#pragma once
// The text of a file opened as a note. Files come from anywhere: UTF-16 with a
// byte-order mark, UTF-8 with or without one, or some 8-bit encoding.

#include <cstddef>
#include <cstdint>
#include <string>

// A note is meant to be read at a glance; a file past this size is no note, and
// taking in a file of hundreds of megabytes would leave the program unresponsive.
inline constexpr size_t kMaxNoteFileBytes = 256 * 1024;

enum class NoteFileVerdict {
    Ok,
    TooLarge,  // more than kMaxNoteFileBytes
    NotText,   // holds NUL characters or is mostly control characters
};

// bytes: the file's first bytes (at most kMaxNoteFileBytes of them); fileSize: its
// whole size, judged before any byte is.
NoteFileVerdict CheckNoteFile(const std::string& bytes, uint64_t fileSize);

// UTF-16LE (BOM) and UTF-8 (BOM, or well-formed with at least one non-ASCII
// character) are decoded as such; anything else takes every byte as the
// character of the same code. Lines end in CR LF as in the note's editor: a
// lone CR or LF becomes CR LF.
std::wstring TextFileAsNoteText(const std::string& bytes);
