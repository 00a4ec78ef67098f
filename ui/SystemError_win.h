#pragma once
// The system's own words for an error code, as a user would read them.

#include <windows.h>

#include <string>

// The message of the code in the user's language, without the trailing line
// break; empty for 0 or a code the system has no text for.
std::wstring SystemErrorText(DWORD error);
