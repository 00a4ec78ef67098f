#pragma once
// Conversions between UTF-16 text (std::wstring, one UTF-16 code unit per element)
// and the byte encodings of the files the program reads and writes.

#include <cstddef>
#include <string>

namespace TextCodec {

enum class Encoding {
    Ansi,        // the system's 8-bit code page (Windows-1252 where there is no system)
    Utf8,        // UTF-8 without a byte-order mark
    Utf8Bom,     // UTF-8 with EF BB BF
    Utf16LeBom,  // UTF-16 little-endian with FF FE
};

// UTF-16LE bytes without a byte-order mark; an odd trailing byte is dropped.
std::string ToUtf16Le(const std::wstring& text);
std::wstring FromUtf16Le(const char* data, size_t size);

// UTF-8; ill-formed sequences and unpaired surrogates become U+FFFD.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);
bool IsValidUtf8(const std::string& bytes);

// The system's ANSI code page. ToAnsi fails when a character has no exact form.
std::wstring FromAnsi(const std::string& bytes);
bool ToAnsi(const std::wstring& text, std::string& bytes);

// Recognises a UTF-16LE or UTF-8 byte-order mark, then well-formed UTF-8 holding
// at least one non-ASCII character, and otherwise takes the bytes as ANSI.
std::wstring Decode(const std::string& bytes, Encoding* detected = nullptr);

// Encodes with the byte-order mark the encoding calls for. Returns false (and
// leaves bytes empty) when the text cannot be held by Ansi.
bool Encode(const std::wstring& text, Encoding encoding, std::string& bytes);

// Whether decoded text reads as text: it holds no NUL character (which ends the
// text for every text API, and is what UTF-16 without a byte-order mark or any
// binary file holds), and fewer than one in a hundred control characters other
// than tab, line breaks, form feed, vertical tab, DOS's end-of-file and escape.
bool LooksLikeText(const std::wstring& text);

}  // namespace TextCodec
