#include "skin/SkinBitmap_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestPaths.h"
#include "skin/SkinTint.h"
#include "store/FileIo.h"

namespace {

// Writes a bottom-up BMP of 24 or 32 bits per pixel; pixels[y * width + x].
bool WriteBmp(const std::wstring& path, int width, int height, int bits,
              const std::vector<SkinColor>& pixels) {
    const int bytes = bits / 8, stride = (width * bytes + 3) & ~3;
    BITMAPFILEHEADER file = {0x4D42};
    BITMAPINFOHEADER info = {sizeof(info), width, height, 1, static_cast<WORD>(bits)};
    file.bfOffBits = sizeof(file) + sizeof(info);
    std::string data(reinterpret_cast<const char*>(&file), sizeof(file));
    data.append(reinterpret_cast<const char*>(&info), sizeof(info));
    data.resize(file.bfOffBits + static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* p =
                &data[file.bfOffBits + static_cast<size_t>(height - 1 - y) * stride + x * bytes];
            const SkinColor c = pixels[y * width + x];
            p[0] = static_cast<char>(BlueOf(c)), p[1] = static_cast<char>(GreenOf(c)),
            p[2] = static_cast<char>(RedOf(c));
        }
    return FileIo::WriteFileAtomically(path, data);
}

std::vector<SkinColor> ReadPixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32}};
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
class SkinBitmapFiles : public ::testing::TestWithParam<int> {};

TEST_P(SkinBitmapFiles, TintLeavesReservedColoursAndEveryLineRight) {
    const int width = 13, height = 5;
    std::vector<SkinColor> pattern(width * height, kWhite);
    pattern[0] = pattern[(height - 1) * width] = kMagenta;
    pattern[2 * width - 1] = kCyan;
    pattern[2 * width + 5] = MakeSkinColor(200, 200, 200);
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"t.bmp", width, height, GetParam(), pattern));

    const SkinColor orange = MakeSkinColor(255, 128, 0);
    SkinBitmap* bitmap = LoadSkinBitmap(dir, L"t.bmp", orange);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(width, bitmap->Width());
    EXPECT_EQ(height, bitmap->Height());
    std::vector<SkinColor> expected(width * height, orange);
    expected[0] = expected[(height - 1) * width] = kMagenta;
    expected[2 * width - 1] = kCyan;
    expected[2 * width + 5] = MakeSkinColor(200, 100, 0);
    EXPECT_EQ(expected, ReadPixels(bitmap->Handle(), width, height));
    bitmap->Release();
}

INSTANTIATE_TEST_SUITE_P(Formats, SkinBitmapFiles, ::testing::Values(24, 32));

TEST(SkinBitmap, LastReleaseRemovesFromListSoTintAllSkipsIt) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const size_t listed = SkinBitmapList::Items().size();
    EXPECT_EQ(nullptr, LoadSkinBitmap(dir, L"none.bmp", kWhite));
    EXPECT_EQ(listed, SkinBitmapList::Items().size());

    ASSERT_TRUE(WriteBmp(dir + L"a.bmp", 2, 1, 24, {kWhite, kWhite}));
    SkinBitmap* a = LoadSkinBitmap(dir, L"a.bmp", kWhite);
    SkinBitmap* b = LoadSkinBitmap(dir, L"a.bmp", kWhite);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(listed + 2, SkinBitmapList::Items().size());
    a->AddRef();
    a->Release();
    EXPECT_EQ(1, a->RefCount());
    b->Release();
    ASSERT_EQ(listed + 1, SkinBitmapList::Items().size());
    EXPECT_EQ(a, SkinBitmapList::Items().back());

    HDC dc = CreateCompatibleDC(nullptr);
    SkinBitmapList::TintAll(dc, MakeSkinColor(0, 0, 255));
    DeleteDC(dc);
    EXPECT_EQ(std::vector<SkinColor>(2, MakeSkinColor(0, 0, 255)), ReadPixels(a->Handle(), 2, 1));
    a->Release();
}

TEST(SkinBitmap, ButtonSetsShareReferences) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"b.bmp", 1, 1, 24, {kWhite}));
    ButtonBitmaps first, second;
    first.normal = LoadSkinBitmap(dir, L"b.bmp", kWhite);
    first.hover = LoadSkinBitmap(dir, L"b.bmp", kWhite);
    ASSERT_TRUE(first.normal && first.hover);
    second.CopyFrom(first);
    // Copying a set over one that holds the same bitmaps keeps them alive.
    second.CopyFrom(first);
    EXPECT_EQ(2, first.normal->RefCount());
    EXPECT_EQ(nullptr, second.down);
    first.Clear();
    EXPECT_EQ(nullptr, first.normal);
    EXPECT_EQ(1, second.normal->RefCount());
    const size_t listed = SkinBitmapList::Items().size();
    second.Clear();
    EXPECT_EQ(listed - 2, SkinBitmapList::Items().size());
}

TEST(SkinBitmap, DrawTransparentSkipsCyanAndClampsTheSize) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const SkinColor red = MakeSkinColor(255, 0, 0), g = MakeSkinColor(0, 128, 0);
    ASSERT_TRUE(WriteBmp(dir + L"d.bmp", 3, 2, 24, {red, kCyan, red, red, red, kCyan}));
    SkinBitmap* bitmap = LoadSkinBitmap(dir, L"d.bmp", kWhite);
    ASSERT_NE(nullptr, bitmap);
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen), memoryDc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 5, 3);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(target, canvas);
    const RECT all = {0, 0, 5, 3};
    SetDCBrushColor(target, RGB(0, 128, 0));
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    bitmap->Select(memoryDc);
    EXPECT_TRUE(bitmap->DrawTransparent(target, 1, 1, 0, 0, 0, 99));
    bitmap->Deselect();
    DeleteDC(memoryDc);
    SelectObject(target, old);
    DeleteDC(target);
    EXPECT_EQ((std::vector<SkinColor>{g, g, g, g, g, g, red, g, red, g, g, red, red, g, g}),
              ReadPixels(canvas, 5, 3));
    DeleteObject(canvas);
    bitmap->Release();
}

}  // namespace
