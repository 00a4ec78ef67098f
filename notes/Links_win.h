#pragma once
// Opening a note's link with the user's default program for it.

#include <string>

// Hands `link` to the shell when NoteLinks::IsOpenableLink allows it; anything
// else (a file, a program, another scheme) is refused. The shell's answer is
// not waited for: a link it cannot open fails quietly, as a browser would.
bool LaunchLink(const std::wstring& link);
