#pragma once
// Window regions from skin pixels: what a window that is not layered uses in
// place of the colour key, so that its shape (rounded corners, holes) looks
// the same with and without layering.

#include <windows.h>

#include <vector>

#include "arrange/Rect.h"
#include "base/Handles_win.h"

struct PixelImage;

// The region of the rectangles (ShapeRects); empty when there are none or the
// system cannot make it.
OwnedRegion RegionOfRects(const std::vector<Rect>& rects);

// The region of the pixels of `image` that are not magenta.
OwnedRegion ShapeRegion(const PixelImage& image);

// Gives `window` a copy of `shape` as its window region (the system owns and
// frees a window's region, so a shape shared by many windows is copied);
// null gives the window its whole rectangle back.
bool ApplyWindowShape(HWND window, HRGN shape, bool redraw);
