#pragma once
// Unicode text on the clipboard.

#include <windows.h>

#include <string>

// Replaces the clipboard's contents by text; false when the clipboard could not
// be opened or the memory not had.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);
// The clipboard's Unicode text; false when there is none or it cannot be read.
bool ReadClipboardText(HWND owner, std::wstring& text);
bool ClipboardHasText();
