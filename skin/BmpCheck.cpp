#include "skin/BmpCheck.h"

namespace {

uint32_t U32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

constexpr size_t kFileHeader = 14;
constexpr uint32_t kCoreHeader = 12;  // BITMAPCOREHEADER: 16-bit sizes, no compression
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

}  // namespace

BmpVerdict CheckBmp(const std::string& head, uint64_t fileSize, int32_t maxSide) {
    if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') {
        return head.size() < 2 && fileSize < 2 ? BmpVerdict::Truncated : BmpVerdict::NotBmp;
    }
    if (fileSize < kFileHeader + 4 || head.size() < kFileHeader + 4) return BmpVerdict::Truncated;
    const uint32_t dataOffset = U32(head, 10);
    const uint32_t headerSize = U32(head, 14);
    if (headerSize != kCoreHeader && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
        headerSize != 108 && headerSize != 124) {
        return BmpVerdict::Unsupported;
    }
    if (fileSize < kFileHeader + headerSize || head.size() < kFileHeader + headerSize) {
        return BmpVerdict::Truncated;
    }

    int64_t width, height;
    uint16_t planes, bits;
    uint32_t compression = kRgb, imageSize = 0, colorsUsed = 0;
    if (headerSize == kCoreHeader) {
        width = U16(head, 18);
        height = U16(head, 20);
        planes = U16(head, 22);
        bits = U16(head, 24);
    } else {
        width = static_cast<int32_t>(U32(head, 18));
        height = static_cast<int32_t>(U32(head, 22));
        planes = U16(head, 26);
        bits = U16(head, 28);
        compression = U32(head, 30);
        imageSize = U32(head, 34);
        colorsUsed = U32(head, 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || planes != 1) return BmpVerdict::NotBmp;
    if (width > maxSide || height > maxSide) return BmpVerdict::TooLarge;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return BmpVerdict::Unsupported;
    }
    const bool rle = compression == kRle8 || compression == kRle4;
    if (compression == kRle8 && bits != 8) return BmpVerdict::NotBmp;
    if (compression == kRle4 && bits != 4) return BmpVerdict::NotBmp;
    if (compression == kBitFields && bits != 16 && bits != 32) return BmpVerdict::NotBmp;
    if (compression != kRgb && compression != kBitFields && !rle) return BmpVerdict::Unsupported;
    if (rle && topDown) return BmpVerdict::NotBmp;
    // A colour table longer than the pixel format can index would be read as such.
    if (colorsUsed > 256 || (bits <= 8 && colorsUsed > (1u << bits))) return BmpVerdict::NotBmp;

    if (dataOffset < kFileHeader + headerSize) return BmpVerdict::NotBmp;
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = rle ? imageSize : stride * static_cast<uint64_t>(height);
    if (rle && imageSize == 0) return BmpVerdict::NotBmp;
    if (static_cast<uint64_t>(dataOffset) + pixelBytes > fileSize) return BmpVerdict::Truncated;
    return BmpVerdict::Ok;
}
