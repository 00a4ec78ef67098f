#pragma once
// A stand-in for the application in note tests: a skin drawn by the test, the
// settings, the list of notes, and counters of what the notes asked for.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "lang/LanguageTable.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteWindow_win.h"
#include "skin/Skin_win.h"

namespace NoteTest {

// Writes a bottom-up 24-bit BMP whose pixel (x, y) is color(x, y).
inline bool WriteBmp(const std::wstring& path, int w, int h,
                     const std::function<COLORREF(int, int)>& color) {
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * h);
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            COLORREF c = color(x, y);
            unsigned char* p = &pixels[static_cast<size_t>((h - 1 - y) * stride + x * 3)];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    fwrite(&file, sizeof(file), 1, f);
    fwrite(&info, sizeof(info), 1, f);
    fwrite(pixels.data(), 1, pixels.size(), f);
    fclose(f);
    return true;
}

inline SkinBitmap* MakeBitmap(const std::wstring& path, int w, int h,
                              const std::function<COLORREF(int, int)>& color) {
    if (!WriteBmp(path, w, h, color)) return nullptr;
    auto* bitmap = new SkinBitmap();
    if (!bitmap->LoadFile(path)) {
        bitmap->Release();
        return nullptr;
    }
    return bitmap;
}

// Colours of the test background: each of the nine parts its own, and the
// first column of the top edge marked so that its tiles can be counted.
constexpr COLORREF kCorner = RGB(200, 0, 0);
constexpr COLORREF kTopEdge = RGB(0, 150, 0);
constexpr COLORREF kTileMark = RGB(0, 0, 160);
constexpr COLORREF kCentre = RGB(240, 240, 200);
constexpr COLORREF kMaskColor = RGB(90, 90, 90);
constexpr COLORREF kPriorityColor = RGB(250, 128, 0);

struct SkinOptions {
    bool fixedSize = false;
    bool withMask = true;
};

// A 100 x 100 background with borders (10, 20, 10, 20), edit margins
// (8, 24, 8, 16), mask insets (4, 4, 4, 4), the grip in the last 12 x 12
// pixels, a 6 x 6 priority icon at (-20, 4).
inline void BuildSkin(Skin& skin, const SkinOptions& options) {
    std::wstring dir = TestPaths::MakeScratchDir();
    skin.background = MakeBitmap(dir + L"bg.bmp", 100, 100, [](int x, int y) {
        bool left = x < 10, right = x >= 90, top = y < 20, bottom = y >= 80;
        if ((left || right) && (top || bottom)) return kCorner;
        if (top) return x == 10 ? kTileMark : kTopEdge;
        return kCentre;
    });
    if (options.withMask)
        skin.mask = MakeBitmap(dir + L"mask.bmp", 100, 100, [](int, int) { return kMaskColor; });
    skin.priorityBitmaps[2] =
        MakeBitmap(dir + L"prio.bmp", 6, 6, [](int, int) { return kPriorityColor; });
    skin.backgroundWidth = 100;
    skin.backgroundHeight = 100;
    skin.fixedSize = options.fixedSize;
    skin.backgroundBorders = {10, 20, 10, 20};
    skin.maskInsets = {4, 4, 4, 4};
    skin.editInsets = {8, 24, 8, 16};
    skin.resizeRect = {-12, -12, 12, 12};
    skin.priorityPos = {-20, 4};
    skin.noteFont =
        CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    skin.themedTextColor = RGB(10, 20, 30);
    skin.themedTextBackgroundColor = RGB(250, 250, 220);
    skin.textBackgroundBrush = CreateSolidBrush(skin.themedTextBackgroundColor);
}

class FakeHost : public NoteHost {
public:
    // Snapping stays off unless a test asks for it, so notes land where put.
    explicit FakeHost(const SkinOptions& options = {}) {
        BuildSkin(skin, options);
        settings.snapNotes = false;
    }
    ~FakeHost() override {
        while (!notes.empty()) delete notes.back();
    }

    const Skin& NoteSkin() const override { return skin; }
    const AppSettings& Settings() const override { return settings; }
    HMENU NoteMenu() const override { return nullptr; }
    const LanguageTable& Language() const override { return language; }
    void AddNote(NoteWindow& note) override { notes.push_back(&note); }
    void RemoveNote(NoteWindow& note) override {
        notes.erase(std::remove(notes.begin(), notes.end(), &note), notes.end());
    }
    const std::vector<NoteWindow*>& Notes() const override { return notes; }
    void SaveNotes() override {
        if (!loading) ++saves;
    }
    void ActivateNextNote(NoteWindow* note) override {
        activated.push_back(note);
        if (notes.size() < 2) return;
        auto it = std::find(notes.begin(), notes.end(), note);
        if (it == notes.end()) return;
        ++it;
        NoteWindow* next = it == notes.end() ? notes.front() : *it;
        next->BringToForeground(false);
    }
    NoteWindow* CreateNote(const std::wstring& text, bool startEditing, bool) override {
        auto* note = new NoteWindow(*this, settings.layeredWindowEnabled, startEditing);
        note->SetText(text);
        return note;
    }
    std::wstring RecycleBinPath() const override { return recycleBin; }

    // A note placed and shown as the notes file would: through ApplyData.
    NoteWindow* LoadNote(const NoteData& data) {
        loading = true;
        auto* note = new NoteWindow(*this, settings.layeredWindowEnabled, false);
        note->ApplyData(data);
        loading = false;
        return note;
    }

    Skin skin;
    AppSettings settings;
    LanguageTable language;
    std::vector<NoteWindow*> notes;
    std::vector<NoteWindow*> activated;
    std::wstring recycleBin;
    int saves = 0;
    bool loading = false;
};

inline void Pump() {
    MSG message;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

inline NoteData DataAt(int left, int top, int right, int bottom, const std::wstring& text) {
    NoteData d;
    d.rect = {left, top, right, bottom};
    d.text = text;
    return d;
}

}  // namespace NoteTest
