#pragma once
// The 16 by 16 icons drawn into the bitmap column of popup menu items. An
// item's icon is the bitmap resource of the executable whose identifier is the
// item's identifier; magenta is transparent. A selected item shows its icon
// lifted one pixel up and left above a grey shadow.

#include <windows.h>

// Widens and heightens the item to hold an icon (at least 16 pixels, and at
// least the size of a check mark).
void MeasureMenuIcon(MEASUREITEMSTRUCT& item);

// Draws the icon of the item, when it has one, at the item rectangle's
// left-top corner.
void DrawMenuIcon(const DRAWITEMSTRUCT& item);
