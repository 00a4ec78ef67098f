#pragma once
// The note title dialog (resource IDD_NOTE_TITLE): one edit field for the
// title, OK and Cancel. Each open dialog keeps its text in its own state, so
// two notes' dialogs open at once never exchange or lose their titles.

#include <windows.h>

#include <string>

class LanguageTable;

// Runs the dialog modally over `owner`, starting with `title` selected. On OK,
// `title` receives the field's text (empty: no title) and the result is true;
// Cancel, the close button or Escape leave it unchanged and give false.
bool RunTitleDialog(HWND owner, const LanguageTable& language, std::wstring& title);
