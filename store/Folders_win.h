#pragma once
// The per-user data folder, the program's own folder, and the per-user Run value
// that starts the program at log-on.

#include <string>

// "<roaming application data>\Vellomar Notes 3\", created on the first call.
std::wstring AppDataFolder();

// Drive and folder of the executable, with a trailing backslash.
std::wstring ProgramFolder();

// Full path of the running executable.
std::wstring ExecutablePath();

// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value "Vellomar Notes 3".
// Registry value names compare without regard to case, so any spelling counts.
// A value holding this program's path without quotes (as older versions wrote
// it) counts too, and is written again with quotes.
bool IsRunAtLogOn();

// Writes the executable's path, quoted, into the Run value, or removes the
// value. Removing a value that is not there succeeds.
bool SetRunAtLogOn(bool on);

// The Run key's path under HKEY_CURRENT_USER.
inline constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Where a save dialog opens: the folder of the last file saved through one
// since the program started, else the user's Documents folder (never the
// program's own, which is read-only once installed). Empty when the system
// names no Documents folder: the dialog then chooses.
std::wstring SaveDialogFolder();

// The path of `name` in `folder`, a separator between them. Save dialogs are
// given it as their file: some of them ignore their starting folder when
// the file name names none.
std::wstring InFolder(const std::wstring& folder, const std::wstring& name);

// Takes the folder of `path`, a file just saved, as the next dialog's start;
// an empty path forgets it (the Documents folder again).
void RememberSaveDialogFolder(const std::wstring& path);
