#pragma once
// A BMP file's headers checked against the file itself before the system is asked
// to load it. The system believes the headers: a file cut short, or one that claims
// a huge size, would have it read past the data or allocate gigabytes for pixels
// that are not there. A skin bitmap that fails the check is left out, as a missing
// one is.

#include <cstddef>
#include <cstdint>
#include <string>

// Skin bitmaps are small; a side longer than this is a damaged or hostile file.
inline constexpr int32_t kMaxSkinBitmapSide = 4096;

// How many bytes of the file's start the check needs: the file header and the
// largest info header.
inline constexpr size_t kBmpHeadBytes = 14 + 124;

enum class BmpVerdict {
    Ok,
    NotBmp,       // no "BM" signature, or headers that contradict each other
    Truncated,    // the file ends before the data its headers promise
    TooLarge,     // wider or taller than the cap
    Unsupported,  // a header or pixel format that skins do not use (JPEG, PNG, ...)
};

// head: the first bytes of the file (kBmpHeadBytes, or the whole file when it is
// shorter); fileSize: the file's whole size.
BmpVerdict CheckBmp(const std::string& head, uint64_t fileSize,
                    int32_t maxSide = kMaxSkinBitmapSide);
