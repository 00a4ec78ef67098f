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

// Prepares an opening popup for icons drawn by its owner. When any command
// item has an icon (hasIcon(identifier)), every item but separators gets an
// owner-drawn bitmap (HBMMENU_CALLBACK: the owner gets WM_MEASUREITEM and
// WM_DRAWITEM) and its item data says which icon to draw: the identifier, or 0
// for none. Submenu items never have an icon: their identifier is their menu
// handle cut to a number, which may equal a command's. A popup without icons
// keeps no bitmaps. The popup's item data belongs to this preparation.
//
// Every item reserves the icon column, because Wine shifts every text of a
// popup by the widest bitmap but widens only the items that have one; and the
// check-or-bitmap style (MNS_CHECKORBMP) is not used, because with it Wine
// starts the text one check mark's width from the edge whatever the icon's
// width, so the icon would run into the text.
void PrepareMenuBitmaps(HMENU menu, bool (*hasIcon)(UINT id));
