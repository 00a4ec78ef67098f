#pragma once
// A file the program cannot use is never thrown away: it is kept beside itself as
// "<name>.YYYY-MM-DD-HHMMSS.bak" (the name the notes file's backup takes), and the
// program goes on as if the file were missing.

#include <string>

#include "store/NoteData.h"

// Copies the file to its dated backup (never over an earlier one) and removes it.
// False, with the file left in place, when the backup could not be made.
bool SetFileAside(const std::wstring& path, const SystemTimeData& localNow);

// An INI file that is too large or not text (IniFileHealth) is set aside before
// anything reads it: the program then starts with its defaults and can write a
// fresh file. Returns whether the file was set aside.
bool SetAsideDamagedIni(const std::wstring& path, const SystemTimeData& localNow);
