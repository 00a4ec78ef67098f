#pragma once
// Opening the recycle bin for the user to read.

#include <windows.h>

#include <string>

namespace RecycleBin {

// Opens the file with the program the system has for text files (the ".txt"
// association, or Notepad when there is none), never by the file's own
// extension: the bin's name comes from a language file, and a name such as
// "bin.cmd" must not make the shell run its text. False when nothing could be
// started.
bool OpenAsTextFile(const std::wstring& path);
// The two ways OpenAsTextFile tries, each on its own: 0 or the system's reason.
DWORD OpenWithTextAssociation(const std::wstring& path);
DWORD OpenInNotepad(const std::wstring& path);

}  // namespace RecycleBin
