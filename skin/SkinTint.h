#pragma once
// Colour themes tint by multiplication, channel by channel, leaving the two
// reserved colours (magenta and cyan) exactly as they are.

#include <cstddef>
#include <cstdint>

#include "skin/SkinDefinition.h"

// Per channel a * b / 255, rounded down.
SkinColor Multiply(SkinColor a, SkinColor b);

// Tints a pixel buffer in blue, green, red byte order. Each line holds `width`
// pixels of `bytesPerPixel` bytes (3 or 4; a fourth byte is left alone) and
// lines start `stride` bytes apart, so padded 24-bit lines are walked right.
// Returns false, touching nothing, when the geometry does not fit the buffer.
bool TintPixels(uint8_t* pixels, size_t size, int32_t width, int32_t height, int32_t bytesPerPixel,
                size_t stride, SkinColor tint);
