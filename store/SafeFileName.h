#pragma once
// File names suggested by the save dialogs, made from a note's title or
// first line.

#include <string>

// `text`'s first line as a Windows file name ending in ".txt": characters a
// file name cannot hold (\ / : * ? " < > | and controls) become spaces, runs
// of spaces one space, no leading or trailing space or dot, at most
// kMaxSafeNameLength characters before the extension, never a device name
// (CON, NUL, COM1 ...). `fallback` (itself already safe) when nothing is left.
std::wstring SafeFileName(const std::wstring& text, const std::wstring& fallback);

inline constexpr size_t kMaxSafeNameLength = 64;
