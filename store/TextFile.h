#pragma once
// Plain text files that the user takes elsewhere: a note saved as a text file,
// the attachment of an e-mailed note, the export of all notes.
//
// Such files are 8-bit text, one byte per character, as long as every character
// fits in one (code units below 256: the byte has the same value, CR LF stays
// CR LF, no byte-order mark), which is what older readers of these files expect.
// A text with any character beyond that would lose it in 8-bit form; it is
// written as UTF-8 with a byte-order mark instead, which Notepad and other
// editors recognise, so nothing the user wrote is lost.

#include <string>

namespace TextFile {

// Whether every code unit of `text` fits in one byte of the 8-bit form.
bool FitsEightBit(const std::wstring& text);

// The file's bytes: the 8-bit form when the text fits it, else UTF-8 with EF BB BF.
std::string Encode(const std::wstring& text);

// Creates or replaces the file with Encode(text), in one step (FileIo): a failed
// write leaves an existing file as it was. False when it could not be written.
bool Write(const std::wstring& path, const std::wstring& text);

}  // namespace TextFile
