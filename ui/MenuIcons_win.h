#pragma once
// The 16 by 16 icons drawn into the bitmap column of popup menu items. An
// item's icon is the bitmap resource of the executable whose identifier is the
// item's identifier; magenta is transparent. A selected item shows its icon
// lifted one pixel up and left above a grey shadow; a greyed item shows it
// without colour, faded, and never lifted.

#include <windows.h>

// Space kept free on each side of an icon in its column, so that neither the
// menu's edge nor the item's text touches it.
constexpr int kMenuIconPadding = 3;

// Whether the executable has an icon for the command identifier.
bool HasMenuIcon(UINT id);

// The icon column: the icon and its padding on both sides, and at least the
// icon's height. The menu starts the item's text after the widest column.
void MeasureMenuIcon(MEASUREITEMSTRUCT& item);

// Draws the icon that the item's data names (PrepareMenuBitmaps), when it
// names one, kMenuIconPadding right of the item rectangle's left edge and
// centred in its height.
void DrawMenuIcon(const DRAWITEMSTRUCT& item);
