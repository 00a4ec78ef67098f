#include "skin/SkinBitmap_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "TestPaths.h"
#include "skin/SkinTint.h"

namespace {

// Writes a bottom-up BMP of 24 or 32 bits per pixel; pixels[y * width + x].
bool WriteBmp(const std::wstring& path, int width, int height, int bits,
              const std::vector<SkinColor>& pixels) {
    const int bytes = bits / 8;
    const int stride = (width * bytes + 3) & ~3;
    std::vector<uint8_t> data(static_cast<size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* line = &data[static_cast<size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const SkinColor c = pixels[y * width + x];
            line[x * bytes] = static_cast<uint8_t>(BlueOf(c));
            line[x * bytes + 1] = static_cast<uint8_t>(GreenOf(c));
            line[x * bytes + 2] = static_cast<uint8_t>(RedOf(c));
        }
    }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(data.size());
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biSizeImage = static_cast<DWORD>(data.size());
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    fwrite(&file, sizeof(file), 1, f);
    fwrite(&info, sizeof(info), 1, f);
    fwrite(data.data(), 1, data.size(), f);
    return fclose(f) == 0;
}

std::vector<SkinColor> ReadPixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<uint8_t> raw(static_cast<size_t>(width) * height * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, raw.data(), &format, DIB_RGB_COLORS);
    DeleteDC(dc);
    std::vector<SkinColor> out;
    for (size_t i = 0; i < raw.size(); i += 4)
        out.push_back(MakeSkinColor(raw[i + 2], raw[i + 1], raw[i]));
    return out;
}

// A width of 13 gives 24-bit lines of 39 bytes padded to 40.
std::vector<SkinColor> TestPattern(int width, int height) {
    std::vector<SkinColor> px(static_cast<size_t>(width) * height, kWhite);
    px[0] = kMagenta;
    px[width + width - 1] = kCyan;
    px[2 * width + 5] = MakeSkinColor(200, 200, 200);
    px[(height - 1) * width] = kMagenta;
    return px;
}

class SkinBitmapFiles : public ::testing::TestWithParam<int> {};

TEST_P(SkinBitmapFiles, TintLeavesReservedColoursAndEveryLineRight) {
    const int bits = GetParam();
    const int width = 13, height = 5;
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"t.bmp", width, height, bits, TestPattern(width, height)));

    const SkinColor orange = MakeSkinColor(255, 128, 0);
    SkinBitmap* bitmap = LoadSkinBitmap(dir, L"t.bmp", orange);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(width, bitmap->Width());
    EXPECT_EQ(height, bitmap->Height());

    std::vector<SkinColor> expected = TestPattern(width, height);
    for (SkinColor& c : expected) {
        if (c != kMagenta && c != kCyan) c = Multiply(c, orange);
    }
    EXPECT_EQ(MakeSkinColor(200, 100, 0), expected[2 * width + 5]);
    EXPECT_EQ(expected, ReadPixels(bitmap->Handle(), width, height));
    bitmap->Release();
}

INSTANTIATE_TEST_SUITE_P(Formats, SkinBitmapFiles, ::testing::Values(24, 32));

TEST(SkinBitmap, MissingFileGivesNullAndLeavesNothingListed) {
    const size_t before = SkinBitmapList::Items().size();
    EXPECT_EQ(nullptr, LoadSkinBitmap(TestPaths::MakeScratchDir(), L"none.bmp", kWhite));
    EXPECT_EQ(before, SkinBitmapList::Items().size());
}

TEST(SkinBitmap, LastReleaseRemovesFromListSoTintAllSkipsIt) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"a.bmp", 2, 1, 24, {kWhite, kWhite}));
    SkinBitmap* a = LoadSkinBitmap(dir, L"a.bmp", kWhite);
    SkinBitmap* b = LoadSkinBitmap(dir, L"a.bmp", kWhite);
    ASSERT_TRUE(a && b);
    const auto& items = SkinBitmapList::Items();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(a, items[items.size() - 2]);
    EXPECT_EQ(b, items.back());

    a->AddRef();
    a->Release();
    EXPECT_EQ(1, a->RefCount());
    b->Release();
    EXPECT_EQ(a, SkinBitmapList::Items().back());

    HDC dc = CreateCompatibleDC(nullptr);
    SkinBitmapList::TintAll(dc, MakeSkinColor(0, 0, 255));
    DeleteDC(dc);
    EXPECT_EQ((std::vector<SkinColor>{MakeSkinColor(0, 0, 255), MakeSkinColor(0, 0, 255)}),
              ReadPixels(a->Handle(), 2, 1));
    a->Release();
}

TEST(SkinBitmap, ButtonSetsShareReferences) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"b.bmp", 1, 1, 24, {kWhite}));
    ButtonBitmaps first;
    first.normal = LoadSkinBitmap(dir, L"b.bmp", kWhite);
    first.hover = LoadSkinBitmap(dir, L"b.bmp", kWhite);
    ASSERT_TRUE(first.normal && first.hover);

    ButtonBitmaps second;
    second.CopyFrom(first);
    EXPECT_EQ(2, first.normal->RefCount());
    EXPECT_EQ(nullptr, second.down);

    // Copying a set over one that holds the same bitmaps keeps them alive.
    second.CopyFrom(first);
    EXPECT_EQ(2, first.normal->RefCount());
    first.Clear();
    EXPECT_EQ(nullptr, first.normal);
    EXPECT_EQ(1, second.normal->RefCount());
    const size_t listed = SkinBitmapList::Items().size();
    second.Clear();
    EXPECT_EQ(listed - 2, SkinBitmapList::Items().size());
}

TEST(SkinBitmap, DrawTransparentSkipsCyanAndClampsTheSize) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const SkinColor red = MakeSkinColor(255, 0, 0);
    ASSERT_TRUE(WriteBmp(dir + L"d.bmp", 3, 2, 24, {red, kCyan, red, red, red, kCyan}));
    SkinBitmap* bitmap = LoadSkinBitmap(dir, L"d.bmp", kWhite);
    ASSERT_NE(nullptr, bitmap);

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 5, 3);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(target, canvas);
    RECT all = {0, 0, 5, 3};
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(target, &all, green);
    DeleteObject(green);

    HDC memoryDc = CreateCompatibleDC(target);
    bitmap->Select(memoryDc);
    EXPECT_TRUE(bitmap->Selected());
    EXPECT_TRUE(bitmap->DrawTransparent(target, 1, 1, 0, 0, 0, 99));
    bitmap->Deselect();
    EXPECT_FALSE(bitmap->Selected());
    DeleteDC(memoryDc);
    SelectObject(target, old);
    DeleteDC(target);

    const SkinColor g = MakeSkinColor(0, 128, 0);
    EXPECT_EQ((std::vector<SkinColor>{g, g, g, g, g, g, red, g, red, g, g, red, red, g, g}),
              ReadPixels(canvas, 5, 3));
    DeleteObject(canvas);
    bitmap->Release();
}

}  // namespace
