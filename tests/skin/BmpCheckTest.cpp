#include "skin/BmpCheck.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Put32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

void Put16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A whole BMP with a 40-byte info header and a colour table for 8 bits or less.
std::string Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0) {
    const uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
    const uint32_t offset = 14 + 40 + palette;
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    const uint64_t stride = (static_cast<uint64_t>(width > 0 ? width : 0) * bits + 31) / 32 * 4;
    // Headers only for sizes too large to hold; the test then states the file size.
    const uint64_t pixels = stride * rows;
    std::string b(offset + (pixels < (1u << 20) ? pixels : 0), '\0');
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(offset + pixels));
    Put32(b, 10, offset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    return b;
}

BmpVerdict Check(const std::string& file) {
    return CheckBmp(file.substr(0, kBmpHeadBytes), file.size());
}

// The file with the 32- or 16-bit field at `at` set to v.
std::string With32(std::string b, size_t at, uint32_t v) {
    Put32(b, at, v);
    return b;
}

std::string With16(std::string b, size_t at, uint16_t v) {
    Put16(b, at, v);
    return b;
}

// A run-length encoded bitmap whose header gives `size` bytes of pixels, which
// follow the room an uncompressed one would take.
std::string Rle(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t size) {
    std::string b = With32(Bmp(width, height, bits, compression), 34, size);
    return b + std::string(size, '\0');
}

TEST(BmpCheck, VerdictsOnWholeAndDamagedFiles) {
    const std::string good = Bmp(40, 50, 24);
    std::string v5 = Bmp(6, 2, 32, 3);  // a 124-byte header whose pixels follow it
    v5.insert(54, 124 - 40, '\0');
    Put32(v5, 10, 14 + 124);
    Put32(v5, 14, 124);
    std::string core(14 + 12 + 2 * 12, '\0');  // 3 x 2 pixels of 24 bits, old header
    core[0] = 'B', core[1] = 'M';
    Put32(core, 10, 26);
    Put32(core, 14, 12);
    Put16(core, 18, 3), Put16(core, 20, 2), Put16(core, 22, 1), Put16(core, 24, 24);
    const struct {
        const char* name;
        std::string file;
        BmpVerdict verdict;
    } cases[] = {
        {"24-bit", good, BmpVerdict::Ok},
        {"32-bit top-down", Bmp(16, -16, 32), BmpVerdict::Ok},
        {"1-bit, odd width", Bmp(13, 3, 1), BmpVerdict::Ok},
        {"4-bit", Bmp(5, 5, 4), BmpVerdict::Ok},
        {"16-bit bit fields", Bmp(3, 3, 16, 3), BmpVerdict::Ok},
        {"old core header", core, BmpVerdict::Ok},
        {"8-bit RLE", Rle(8, 8, 8, 1, 64), BmpVerdict::Ok},
        {"4-bit RLE", Rle(7, 3, 4, 2, 12), BmpVerdict::Ok},
        {"32-bit bit fields", Bmp(5, 3, 32, 3), BmpVerdict::Ok},
        {"32-bit bit fields, 124-byte header", v5, BmpVerdict::Ok},
        {"as wide as the cap", Bmp(kMaxSkinBitmapSide, 1, 24), BmpVerdict::Ok},
        {"as tall as the cap", Bmp(1, -kMaxSkinBitmapSide, 8), BmpVerdict::Ok},
        // A colour table that the pixel format can just index, and one entry more.
        {"16 colours for 4 bits", With32(Bmp(4, 4, 4), 46, 16), BmpVerdict::Ok},
        {"256 colours for 8 bits", With32(Bmp(4, 4, 8), 46, 256), BmpVerdict::Ok},
        // Rows padded to 4 bytes: 5 x 3 at 24 bits is 3 rows of 16 bytes, 3 x 2 at
        // 16 bits 2 rows of 8; the padding of the last row is part of the file.
        {"24-bit rows padded", Bmp(5, 3, 24), BmpVerdict::Ok},
        {"24-bit rows padded, the last row's padding missing", Bmp(5, 3, 24).substr(0, 54 + 47),
         BmpVerdict::Truncated},
        {"16-bit rows padded, the last row's padding missing", Bmp(3, 2, 16).substr(0, 54 + 15),
         BmpVerdict::Truncated},
        {"1-bit rows padded, the last row's padding missing", Bmp(13, 3, 1).substr(0, 62 + 11),
         BmpVerdict::Truncated},
        // 64 bytes follow the headers.
        {"RLE one byte short of its size", With32(Bmp(8, 8, 8, 1), 34, 65), BmpVerdict::Truncated},
        {"one byte short of its pixels", good.substr(0, good.size() - 1), BmpVerdict::Truncated},
        {"headers only", good.substr(0, 54), BmpVerdict::Truncated},
        {"cut inside the info header", good.substr(0, 30), BmpVerdict::Truncated},
        {"signature only", "BM", BmpVerdict::Truncated},
        {"half a signature", "B", BmpVerdict::Truncated},
        {"empty", "", BmpVerdict::Truncated},
        {"not a bitmap", std::string(100, 'x'), BmpVerdict::NotBmp},
        {"zero width", Bmp(0, 5, 24), BmpVerdict::NotBmp},
        {"zero height", Bmp(5, 0, 24), BmpVerdict::NotBmp},
        {"negative width", Bmp(-5, 5, 24), BmpVerdict::NotBmp},
        {"no planes", With16(good, 26, 0), BmpVerdict::NotBmp},
        {"colour table of 2^28 entries", With32(Bmp(4, 4, 8), 46, 0x10000000), BmpVerdict::NotBmp},
        {"pixels inside the headers", With32(good, 10, 20), BmpVerdict::NotBmp},
        {"pixels past the end", With32(good, 10, static_cast<uint32_t>(good.size())),
         BmpVerdict::Truncated},
        {"RLE without a size", Bmp(8, 8, 8, 1), BmpVerdict::NotBmp},
        {"RLE top-down", With32(Bmp(8, -8, 8, 1), 34, 4), BmpVerdict::NotBmp},
        {"RLE8 with 4 bits", Rle(8, 8, 4, 1, 64), BmpVerdict::NotBmp},
        {"RLE4 with 8 bits", Rle(8, 8, 8, 2, 64), BmpVerdict::NotBmp},
        {"bit fields with 24 bits", Bmp(4, 4, 24, 3), BmpVerdict::NotBmp},
        {"bit fields with 8 bits", Bmp(4, 4, 8, 3), BmpVerdict::NotBmp},
        {"17 colours for 4 bits", With32(Bmp(4, 4, 4), 46, 17), BmpVerdict::NotBmp},
        {"257 colours for 8 bits", With32(Bmp(4, 4, 8), 46, 257), BmpVerdict::NotBmp},
        {"257 colours for 24 bits", With32(Bmp(2, 2, 24), 46, 257), BmpVerdict::NotBmp},
        {"pixels one byte into the headers", With32(good, 10, 53), BmpVerdict::NotBmp},
        {"unknown header size", With32(good, 14, 77), BmpVerdict::Unsupported},
        {"embedded PNG", With32(good, 30, 5), BmpVerdict::Unsupported},
        {"0 bits per pixel", Bmp(4, 4, 0), BmpVerdict::Unsupported},
        {"7 bits per pixel", Bmp(4, 4, 7), BmpVerdict::Unsupported},
        {"wider than the cap", Bmp(kMaxSkinBitmapSide + 1, 1, 24), BmpVerdict::TooLarge},
        {"taller than the cap", Bmp(1, -(kMaxSkinBitmapSide + 1), 24), BmpVerdict::TooLarge},
    };
    for (const auto& c : cases) EXPECT_EQ(c.verdict, Check(c.file)) << c.name;
}

TEST(BmpCheck, HugeClaimsAreJudgedByTheHeaderAloneAgainstTheFileSize) {
    // 65535 x 65535 at 32 bits claims 16 GiB of pixels: refused without the
    // pixels, whatever the file size says.
    const std::string head = Bmp(65535, 65535, 32).substr(0, kBmpHeadBytes);
    EXPECT_EQ(BmpVerdict::TooLarge, CheckBmp(head, 100));
    EXPECT_EQ(BmpVerdict::TooLarge, CheckBmp(head, uint64_t{1} << 40));
    // The largest allowed square needs all of its bytes.
    const int32_t side = kMaxSkinBitmapSide;
    const std::string big = Bmp(side, side, 32).substr(0, kBmpHeadBytes);
    const uint64_t whole = 54 + uint64_t{4} * side * side;
    EXPECT_EQ(BmpVerdict::Ok, CheckBmp(big, whole));
    EXPECT_EQ(BmpVerdict::Truncated, CheckBmp(big, whole - 1));
    // A file whose size field wraps a 32-bit sum is still measured in 64 bits.
    const std::string wrap = With32(Bmp(4, 4, 24), 10, 0xFFFFFFF0u);
    EXPECT_EQ(BmpVerdict::Truncated, CheckBmp(wrap.substr(0, kBmpHeadBytes), wrap.size()));
}

}  // namespace
