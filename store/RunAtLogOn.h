#pragma once
// The command the per-user Run value holds for the program.

#include <string>

// The program's path in double quotes. Unquoted, a path with blanks (any path
// under "Program Files") makes Windows try "C:\Program.exe" first, and started
// through the rest of the search, the program is handed the part of its own
// path after the first blank as its argument.
std::wstring RunAtLogOnCommand(const std::wstring& programPath);

// Whether a Run value's data is the program's path as older versions wrote it:
// without quotes (letter case and surrounding blanks aside).
bool IsUnquotedRunCommandOf(const std::wstring& data, const std::wstring& programPath);
