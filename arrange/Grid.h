#pragma once
// Grid rounding shared by snapping, note placement and note sizing. Every
// function leaves the value unchanged for a grid step below 1: a step of 0 can
// only come from a hand-edited settings file and has no rounding to offer.

#include <cstdint>

namespace Arrange {

// g * (value / g), the division truncating toward zero: -23 becomes -20 with g = 10.
int32_t TruncateToGrid(int32_t value, int32_t g);

// The next multiple of g above value when value is not a multiple of g: 37 becomes
// 40 and -23 becomes -20 with g = 10, so notes on a monitor left of or above the
// primary one are rounded like those on it.
int32_t RaiseToGrid(int32_t value, int32_t g);

int32_t ClampToInt32(int64_t value);

}  // namespace Arrange
