#pragma once
// The recycle bin: a UTF-16LE text file (no byte-order mark) to which the text of
// each deleted note is appended, followed by a separator line. The file's name
// comes from the language; the caller passes the full path.

#include <cstddef>
#include <string>

namespace RecycleBin {

// The longest name the language may give the bin, before ".txt": the folder's
// path and the name must stay within what the system opens.
inline constexpr size_t kMaxRecycleBinStem = 100;

// The file name the language gives the bin, made safe to put after the user's
// folder: a language file is input, and a name holding a folder, a drive or
// characters Windows refuses would put the bin elsewhere or nowhere. Only the last
// part of a path is kept, refused characters become '_', and the name always ends
// in ".txt", whatever extension the language wrote (the shell picks the program
// that opens the bin by it). A name with nothing left (empty, "." or "..") or one
// Windows takes for a device ("NUL", "con.txt", "COM1") becomes "Recycle Bin.txt".
std::wstring RecycleBinFileName(const std::wstring& languageText);

// Names that Windows opens as a device, whatever extension follows: CON, PRN,
// AUX, NUL, COM0-9, LPT0-9 and the console and clock devices.
bool IsReservedDeviceName(const std::wstring& name);

// CR LF, 75 equals signs, CR LF. The export of all notes uses the same line.
const std::wstring& Separator();

// Code units above U+0020: blanks, line breaks and control characters do not count.
size_t CountVisibleChars(const std::wstring& text);

// A note without visible characters leaves no trace in the bin.
inline bool HasVisibleText(const std::wstring& text) {
    return CountVisibleChars(text) != 0;
}

// Appends text + separator, creating the file when missing. False when the file
// cannot be written; nothing is reported to the user either way.
bool AppendToRecycleBin(const std::wstring& path, const std::wstring& text);

// Creates an empty bin when none exists, so that an editor can open it. True when
// the file exists afterwards.
bool EnsureRecycleBinExists(const std::wstring& path);

// Truncates the bin to 0 bytes; the file itself stays.
bool EmptyRecycleBin(const std::wstring& path);

}  // namespace RecycleBin
