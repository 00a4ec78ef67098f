#pragma once
// The system's RECT and the portable Rect hold the same four edges in the same
// order; these are the only conversions between them.

#include <windows.h>

#include "arrange/Rect.h"

inline Rect ToPortable(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

inline RECT ToWin32(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
