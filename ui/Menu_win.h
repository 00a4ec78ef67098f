#pragma once
// Helpers shared by every popup menu of the program. Window::ShowPopupMenu
// (declared with Window) is defined beside them.

#include <windows.h>

#include <string>
#include <vector>

class LanguageTable;

// Makes the submenu hold exactly one plain item per text, identifiers counting
// up from firstId. Items are reused from the top, surplus ones deleted from the
// top. An empty list gives one greyed placeholder item (identifier firstId)
// with the "EmptySubMenu" text of `language`.
void FillSubmenu(const LanguageTable& language, HMENU submenu,
                 const std::vector<std::wstring>& texts, UINT firstId);
