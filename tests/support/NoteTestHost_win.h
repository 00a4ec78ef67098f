#pragma once
// Stand-ins for the application on the notes' side, in tests and benches: the
// skin, the settings, the language and the list of notes. The tests' FakeHost
// draws its own skin and counts what the notes ask for.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lang/LanguageTable.h"
#include "notes/NoteCollection_win.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteWindow_win.h"
#include "skin/Skin_win.h"
#include "support/Bitmaps_win.h"
#include "support/DialogAnswers_win.h"
#include "support/MessagePump_win.h"
#include "support/TestPaths.h"
#include "ui/SkinnedWindows_win.h"

namespace NoteTest {

// Colours of the test background: corners, the top edge with its first column
// marked so that its tiles can be found; all else is the corner colour.
constexpr COLORREF kCorner = RGB(200, 0, 0);
constexpr COLORREF kTopEdge = RGB(0, 150, 0);
constexpr COLORREF kTileMark = RGB(0, 0, 160);
// Faces of the skin buttons: normal, hover and down.
constexpr COLORREF kFaces[3] = {RGB(10, 200, 10), RGB(20, 210, 20), RGB(30, 220, 30)};

// A 100 x 100 background with borders (10, 20, 10, 20), edit margins
// (8, 24, 8, 16), mask insets (4, 4, 4, 4), the grip in the last 12 x 12
// pixels, a 6 x 6 priority icon at (-20, 4), 10 x 10 buttons: menu at (4, 40),
// delete at (-14, 40).
inline void BuildSkin(Skin& skin, bool withMask) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    skin.background = MakeSkinBitmap(dir + L"bg.bmp", 100, 100, [](int x, int y) {
        return y >= 20 || x < 10 || x >= 90 ? kCorner : x == 10 ? kTileMark : kTopEdge;
    });
    auto plain = [](int, int) { return kCorner; };
    if (withMask) skin.mask = MakeSkinBitmap(dir + L"mask.bmp", 100, 100, plain);
    skin.priorityBitmaps[2] = MakeSkinBitmap(dir + L"prio.bmp", 6, 6, plain);
    const struct {
        ButtonDef& def;
        int32_t x;
    } buttons[] = {{skin.menuButton, 4}, {skin.deleteButton, -14}};
    for (const auto& b : buttons) {
        SkinBitmapRef* slots[3] = {&b.def.bitmaps.normal, &b.def.bitmaps.hover,
                                   &b.def.bitmaps.down};
        for (int i = 0; i < 3; ++i) {
            const COLORREF face = kFaces[i];
            *slots[i] = MakeSkinBitmap(
                dir + L"button" + std::to_wstring(b.x) + L"_" + std::to_wstring(i) + L".bmp", 10,
                10, [face](int, int) { return face; });
        }
        b.def.visible = true;
        b.def.x = b.x;
        b.def.y = 40;
    }
    skin.backgroundWidth = skin.backgroundHeight = 100;
    skin.fixedSize = false;
    skin.backgroundBorders = {10, 20, 10, 20};
    skin.maskInsets = {4, 4, 4, 4};
    skin.editInsets = {8, 24, 8, 16};
    skin.resizeRect = {-12, -12, 12, 12};
    skin.priorityPos = {-20, 4};
    skin.noteFont.Reset(
        CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    skin.themedTextBackgroundColor = RGB(250, 250, 220);
    skin.textBackgroundBrush.Reset(CreateSolidBrush(skin.themedTextBackgroundColor));
}

// What every stand-in shares: the notes' list, which owns them, and the
// skinned windows they join, as the program has them where it is put together.
class HostBase : public NoteHost {
public:
    ~HostBase() override { notes.DestroyAll(); }

    const Skin& NoteSkin() const override { return skin; }
    const AppSettings& Settings() const override { return settings; }
    HMENU NoteMenu() const override { return nullptr; }
    const LanguageTable& Language() const override { return language; }
    SkinnedWindows& Windows() override { return windows; }
    const std::vector<std::unique_ptr<NoteWindow>>& Notes() const override { return notes.List(); }
    void CloseNote(NoteWindow& note) override { notes.Close(note); }
    void ActivateNextNote(NoteWindow*) override {}
    NoteWindow* CreateNote(const std::wstring&, bool, bool) override { return nullptr; }
    std::wstring RecycleBinPath() const override { return L""; }

    // Takes a note made by the test into the list, as the application does.
    NoteWindow* Add(std::unique_ptr<NoteWindow> note) { return notes.Add(std::move(note)); }
    // In the host's list (a closed note has left it, even before it is destroyed).
    bool Alive(NoteWindow* note) const {
        const std::vector<NoteWindow*> list = notes.Snapshot();
        return std::find(list.begin(), list.end(), note) != list.end();
    }
    std::vector<NoteWindow*> List() const { return notes.Snapshot(); }

    Skin skin;
    AppSettings settings;
    LanguageTable language;
    SkinnedWindows windows;
    // After the skin, settings and windows: the notes go before what they use.
    NoteCollection notes;
};

class FakeHost : public HostBase {
public:
    // Snapping stays off unless a test asks for it, so notes land where put.
    explicit FakeHost(bool withMask = true) {
        BuildSkin(skin, withMask);
        settings.snapNotes = false;
    }

    void NotesChanged() override { saves += loading ? 0 : 1; }
    void ActivateNextNote(NoteWindow* note) override { activated.push_back(note); }
    std::wstring RecycleBinPath() const override { return recycleBin; }
    void OpenLink(const std::wstring& link) override { openedLinks.push_back(link); }

    // A note placed and shown as the notes file would: through ApplyData.
    NoteWindow* LoadNote(const NoteData& data) {
        loading = true;
        NoteWindow* note =
            Add(std::make_unique<NoteWindow>(*this, settings.layeredWindowEnabled, false));
        if (note) note->ApplyData(data);
        loading = false;
        return note;
    }

    std::vector<NoteWindow*> activated;
    std::wstring recycleBin;
    std::vector<std::wstring> openedLinks;
    int saves = 0;
    bool loading = false;
};

// The note painted into a canvas of its client size.
inline std::unique_ptr<Canvas> Painted(NoteWindow& note) {
    const RECT r = note.ClientRect();
    auto canvas = std::make_unique<Canvas>(r.right, r.bottom, 0);
    note.Paint(canvas->Dc());
    return canvas;
}

inline NoteData DataAt(int left, int top, int right, int bottom, const std::wstring& text) {
    NoteData d;
    d.rect = {left, top, right, bottom};
    d.text = text;
    return d;
}

}  // namespace NoteTest
