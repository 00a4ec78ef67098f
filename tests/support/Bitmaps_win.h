#pragma once
// BMP files written by hand and bitmaps read back as colours, for the pixel tests
// and the stand-in skins; the skins the program installs, loaded as it loads them.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/SkinBitmap_win.h"
#include "skin/SkinTint.h"
#include "skin/Skin_win.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"
#include "support/TestPaths.h"

// The alpha a layered window is shown with: 255 while it is drawn opaque (no
// LWA_ALPHA), -1 for a window that is not layered.
inline int LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags)) return -1;
    return (flags & LWA_ALPHA) ? alpha : 255;
}

// Writes a bottom-up BMP of 24 or 32 bits per pixel; pixels[y * width + x].
inline bool WriteBmp(const std::wstring& path, int width, int height, int bits,
                     const std::vector<SkinColor>& pixels) {
    const int bytes = bits / 8, stride = (width * bytes + 3) & ~3;
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, 0};
    BITMAPINFOHEADER info = {
        sizeof(info), width, height, 1, static_cast<WORD>(bits), 0, 0, 0, 0, 0, 0};
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

// Writes a 24-bit BMP whose pixel (x, y) is color(x, y) and loads it as a skin
// bitmap; null when either fails.
inline SkinBitmapRef MakeSkinBitmap(const std::wstring& path, int width, int height,
                                    const std::function<SkinColor(int, int)>& color) {
    std::vector<SkinColor> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(color(x, y));
    auto bitmap = std::make_shared<SkinBitmap>();
    if (!WriteBmp(path, width, height, 24, pixels) || !bitmap->LoadFile(path)) return nullptr;
    return bitmap;
}

// The bitmap's pixels, top line first.
inline std::vector<SkinColor> ReadPixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, 0, 0, 0, 0, 0, 0}, {}};
    std::vector<uint8_t> raw(static_cast<size_t>(width) * height * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, height, raw.data(), &format, DIB_RGB_COLORS);
    DeleteDC(dc);
    std::vector<SkinColor> out;
    for (size_t i = 0; i < raw.size(); i += 4)
        out.push_back(MakeSkinColor(raw[i + 2], raw[i + 1], raw[i]));
    return out;
}

// A canvas of the screen's format, filled with one colour and selected into a
// memory device context.
class Canvas {
public:
    Canvas(int width, int height, SkinColor fill) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        SetDCBrushColor(dc, fill);
        const RECT all = {0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc; }
    SkinColor At(int x, int y) const { return GetPixel(dc, x, y); }

private:
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

// Loads the installed skin `name` with colour theme `theme` stored in the
// settings; returns the theme index in use.
inline uint32_t LoadShippedSkin(Skin& skin, const wchar_t* name, int theme, bool layered) {
    const std::wstring folder = TestPaths::SourceDir() + L"\\skins\\" + name + L"\\";
    SettingsStore ini(folder + L"Skin.ini");
    const std::wstring settingsPath = TestPaths::MakeScratchDir() + L"Settings.ini";
    FileIo::WriteFileAtomically(settingsPath,
                                "[Root]\nSkinColorThemeIndex=" + std::to_string(theme));
    SettingsStore settings(settingsPath);
    uint32_t themeIndex = 99;
    LoadSkin(skin, ini, settings, SkinLoadOptions{folder, nullptr, layered}, themeIndex);
    return themeIndex;
}
