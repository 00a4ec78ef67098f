// Drawing a note from its skin bitmaps, the colours of its edit children, text
// measuring and the layout that follows a change of size.

#include <cmath>

#include "base/MemoryDc_win.h"
#include "notes/NineSlice.h"
#include "notes/NoteLayout.h"
#include "notes/NoteWindow_win.h"
#include "skin/Skin_win.h"
#include "ui/SkinButton_win.h"

namespace {

constexpr UINT kMeasureFlags =
    DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;

// Draws one skin bitmap over `dest`: once at its own size, or nine-sliced.
void PaintSkinnedBitmap(HDC dc, HDC memoryDc, SkinBitmap* bitmap, const RECT& dest,
                        const Insets& borders, bool fixed) {
    if (!bitmap || !bitmap->Handle()) return;
    bitmap->Select(memoryDc);
    for (const NoteGeometry::Blit& b :
         NoteGeometry::NineSliceBlits({dest.left, dest.top, dest.right, dest.bottom},
                                      bitmap->Width(), bitmap->Height(), borders, fixed)) {
        bitmap->DrawTransparent(dc, b.dstX, b.dstY, b.srcX, b.srcY, b.width, b.height);
    }
    bitmap->Deselect();
}

void DrawWhole(HDC dc, HDC memoryDc, SkinBitmap* bitmap, Point at) {
    if (!bitmap || !bitmap->Handle()) return;
    bitmap->Select(memoryDc);
    bitmap->DrawTransparent(dc, at.x, at.y);
    bitmap->Deselect();
}

Rect FromWin(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

RECT ToWin(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

void NoteWindow::Paint(HDC dc) {
    MemoryDc memory(dc);
    if (!memory) return;
    const HDC memoryDc = memory.Get();
    const Skin& skin = NoteSkin();
    RECT client = ClientRect();
    PaintSkinnedBitmap(dc, memoryDc, skin.background, client, metrics.backgroundBorders,
                       metrics.fixedSize);
    if (moreText && skin.moreTextBitmap) {
        DrawWhole(dc, memoryDc, skin.moreTextBitmap,
                  NoteGeometry::ResolveSkinPosition(metrics.moreTextPos, client.right - client.left,
                                                    client.bottom - client.top));
    }
    if (priority >= 0 && priority < static_cast<int>(skin.priorityBitmaps.size()))
        DrawWhole(dc, memoryDc, skin.priorityBitmaps[static_cast<size_t>(priority)],
                  priorityIconPos);
    if (masked && skin.mask && host.Settings().layeredWindowEnabled)
        PaintSkinnedBitmap(dc, memoryDc, skin.mask, client, metrics.backgroundBorders,
                           metrics.fixedSize);
}

LRESULT NoteWindow::OnControlColor(HDC dc, HWND control, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    const Skin& skin = NoteSkin();
    if (editor && control == editor->Handle()) {
        SetTextColor(dc, skin.themedTextColor);
        SetBkColor(dc, skin.themedTextBackgroundColor);
        if (skin.textBackgroundBrush) return reinterpret_cast<LRESULT>(skin.textBackgroundBrush);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    if (textView && control == textView->Handle()) {
        SetTextColor(dc, skin.themedTextColor);
        SetBkColor(dc, skin.themedTextBackgroundColor);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return SmallWindow::HandleMessage(Handle(), message, wParam, lParam);
}

void NoteWindow::MeasureText(RECT& rect, const std::wstring& s, bool& overflow) const {
    overflow = false;
    const LONG bottomBefore = rect.bottom;
    HDC dc = GetDC(Handle());
    if (!dc) return;
    HGDIOBJ old = currentFont ? SelectObject(dc, currentFont) : nullptr;
    std::wstring measured = NoteGeometry::MeasuringText(s);
    DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &rect, kMeasureFlags);
    overflow = rect.bottom > bottomBefore;
    if (old) SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
}

NoteGeometry::MeasureFn NoteWindow::Measurer(const std::wstring& s) const {
    return [this, &s](const Rect& area) {
        RECT r = ToWin(area);
        bool overflow = false;
        MeasureText(r, s, overflow);
        return FromWin(r);
    };
}

void NoteWindow::LayoutForSize(int cx, int cy) {
    NoteGeometry::NoteLayout layout = NoteGeometry::LayoutNote(cx, cy, metrics);
    PlaceButtons(cx, cy);
    priorityIconPos = layout.priorityIcon;
    if (!textView || !textView->Handle()) return;
    const Rect& a = layout.textRect;
    moreText = NoteGeometry::TextOverflows(a, Measurer(text));
    textView->SetRect(ToWin(a), false);
    RECT format = {0, 0, a.Width(), a.Height()};
    SendMessageW(textView->Handle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
}

void NoteWindow::ResizeToContent() {
    RECT w = WindowRect();
    NoteGeometry::ContentFit fit =
        NoteGeometry::ResizeToContent(FromWin(w), metrics, Grid(), Measurer(text));
    moreText = false;
    if (!fit.changed) return;
    SetRect(ToWin(fit.window), true);
    host.SaveNotes();
}

void NoteWindow::UpdateMask() {
    if (!host.Settings().layeredWindowEnabled) return;
    const bool old = masked;
    if (InPopupMenu() || frameForced || editor) {
        masked = false;
    } else {
        POINT cursor = {};
        GetCursorPos(&cursor);
        Rect window = FromWin(WindowRect());
        if (GetForegroundWindow() != Handle() || !window.Contains({cursor.x, cursor.y})) {
            masked = true;
        } else {
            masked = Shrink(window, metrics.maskInsets).Contains({cursor.x, cursor.y});
        }
    }
    if (masked == old) return;
    InvalidateAll();
    for (HotControl* button : {menuButton.get(), deleteButton.get()}) {
        if (button && button->Handle()) ShowWindow(button->Handle(), masked ? SW_HIDE : SW_SHOW);
    }
}
