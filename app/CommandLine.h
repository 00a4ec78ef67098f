#pragma once
// The program's command line: one file path whose text becomes a new note, and
// the form in which a second start hands it to the instance that already runs.

#include <cstddef>
#include <string>
#include <vector>

// Removes every double quote and apostrophe wherever it stands; the rest is
// taken as one file path, nothing else is parsed. A null command line is empty.
std::wstring CleanCommandLine(const wchar_t* commandLine);

// The hand-over bytes: the path as UTF-16LE code units followed by a zero code
// unit, (length + 1) * 2 bytes in all.
std::vector<unsigned char> EncodeHandOverPayload(const std::wstring& path);

// Reads a path from hand-over bytes sent by another process. Only the given
// number of bytes is read: the text ends at the first zero code unit or where
// the bytes end, whichever comes first; an odd last byte is ignored.
std::wstring DecodeHandOverPayload(const void* data, std::size_t byteCount);
