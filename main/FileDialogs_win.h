#pragma once
// The open and save dialogs of the main commands, for text files.

#include <windows.h>

#include <string>

class LanguageTable;

// Asks for an existing text file to read; false when the user cancels. The
// language gives the dialogs' list of file types.
bool AskOpenTextFile(HWND owner, const LanguageTable& language, const std::wstring& title,
                     std::wstring& path);

// Asks where to write a text file, asking before an existing file is
// replaced; false when the user cancels. The dialog opens in SaveDialogFolder
// (Folders_win.h) with `suggestedName` in its name box, and remembers the
// folder chosen.
bool AskSaveTextFile(HWND owner, const LanguageTable& language, const std::wstring& title,
                     const std::wstring& suggestedName, std::wstring& path);
