#pragma once
// Plain text files that the user takes elsewhere: a note saved as a text file,
// the attachment of an e-mailed note, the export of all notes.
//
// Such a file is 8-bit text, one byte per character, as long as every character
// fits in one (code units below 256 become the byte of the same value; CR LF
// stays CR LF; no byte-order mark), which is what older readers expect. A text
// with any character beyond that would lose it in the 8-bit form, so it is
// written as UTF-8 with a byte-order mark, which Notepad and other editors
// recognise: nothing the user wrote is lost.

#include <string>

namespace TextFile {

// Whether every code unit of `text` fits in one byte of the 8-bit form.
bool FitsEightBit(const std::wstring& text);

// The file's bytes: the 8-bit form when the text fits it, else UTF-8 with EF BB BF.
std::string Encode(const std::wstring& text);

// Creates or replaces the file with Encode(text) in one step (FileIo): a failed
// write leaves an existing file as it was. False when it could not be written.
bool Write(const std::wstring& path, const std::wstring& text);

}  // namespace TextFile
