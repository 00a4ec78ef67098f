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

// The width and height of an icon.
constexpr int kMenuIconSize = 16;

// Draws the icon of the command identifier, when it has one, kMenuIconPadding
// right of the column's left edge and centred in its height, as the item's
// state (ODS_SELECTED, ODS_GRAYED) wants it.
void DrawMenuIcon(HDC dc, const RECT& column, UINT id, UINT state);
