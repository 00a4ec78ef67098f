#pragma once
// Opening a note's link with the user's default program for it.

#include <windows.h>

#include <string>

// Hands `link` to the shell when NoteLinks::IsOpenableLink allows it; anything
// else (a file, a program, another scheme) is refused (false). `error`
// receives 0, or why the system could not open it (no browser, none for the
// scheme).
bool LaunchLink(const std::wstring& link, DWORD* error = nullptr);
