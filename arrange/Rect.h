#pragma once
// Plain screen geometry shared by the portable core. Rectangles are left, top,
// right, bottom as signed 32-bit screen coordinates, like a Win32 RECT, so the
// Win32 side converts member by member.

#include <cstdint>

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }

    // Left and top inclusive, right and bottom exclusive, as Win32 hit tests.
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

// Four border widths (left, top, right, bottom) between an outer rectangle and
// an inner one, as the skin gives them.
using Insets = Rect;

// Insets and offsets come from hand-edited skin files, so the sums are taken in 64
// bits and stop at the ends of the 32-bit range instead of overflowing.
inline int32_t SaturatedSum(int64_t a, int64_t b) {
    const int64_t sum = a + b;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

inline Rect Shrink(const Rect& r, const Insets& in) {
    return {SaturatedSum(r.left, in.left), SaturatedSum(r.top, in.top),
            SaturatedSum(r.right, -int64_t{in.right}), SaturatedSum(r.bottom, -int64_t{in.bottom})};
}

inline Rect Grow(const Rect& r, const Insets& in) {
    return {SaturatedSum(r.left, -int64_t{in.left}), SaturatedSum(r.top, -int64_t{in.top}),
            SaturatedSum(r.right, in.right), SaturatedSum(r.bottom, in.bottom)};
}

inline Rect Offset(const Rect& r, int32_t dx, int32_t dy) {
    return {SaturatedSum(r.left, dx), SaturatedSum(r.top, dy), SaturatedSum(r.right, dx),
            SaturatedSum(r.bottom, dy)};
}
