#pragma once
// Helpers shared by every popup menu of the program. Window::ShowPopupMenu
// (declared with Window) is defined beside them.

#include <windows.h>

#include <string>
#include <vector>

// Makes the submenu hold exactly one plain item per text, identifiers counting
// up from firstId. Items are reused from the top, surplus ones deleted from the
// top. An empty list gives one greyed placeholder item (identifier firstId)
// with the translated "EmptySubMenu" text.
void FillSubmenu(HMENU submenu, const std::vector<std::wstring>& texts, UINT firstId);

// Marks the command items of an opening popup that hasIcon(identifier) names
// for an owner-drawn bitmap (HBMMENU_CALLBACK: the owner gets WM_MEASUREITEM and
// WM_DRAWITEM), clears the mark of every other item (submenus, separators,
// commands without icon), and gives the popup the check-or-bitmap style, so
// that an item shows its check mark or its icon in the same column.
void PrepareMenuBitmaps(HMENU menu, bool (*hasIcon)(UINT id));
