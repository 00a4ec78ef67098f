#pragma once
// The text of a file opened as a note. Files come from anywhere: UTF-16 with a
// byte-order mark, UTF-8 with or without one, or some 8-bit encoding.

#include <string>

// UTF-16LE (BOM) and UTF-8 (BOM, or well-formed with at least one non-ASCII
// character) are decoded as such; anything else takes every byte as the
// character of the same code. A CR LF pair becomes a single LF.
std::wstring TextFileAsNoteText(const std::string& bytes);
