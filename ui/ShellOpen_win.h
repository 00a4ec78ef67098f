#pragma once
// Handing a document or an address to the shell, and telling the user when
// the system cannot open it (no program for the file type, no browser, a
// missing file), instead of doing nothing.

#include <windows.h>

#include <string>

class LanguageTable;

// Opens `target` with the user's program for it, or, when `program` is named,
// starts that program with `target` as its argument. 0 when the system took
// it; otherwise a Windows error code saying why not.
DWORD ShellOpen(const std::wstring& target, const std::wstring& program = L"");

// The Windows error code of a ShellExecuteW result of 32 or less.
DWORD ShellExecuteError(INT_PTR result);

// The user's message for a failed ShellOpen: what and why.
std::wstring ShellOpenFailureText(const LanguageTable& language, const std::wstring& target,
                                  DWORD error);
