// Drawing a note: its frame from the skin bitmaps, its text, its buttons; the
// colours of its editor, text measuring and the layout that follows a change
// of size.

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "arrange/Rect_win.h"
#include "base/Handles_win.h"
#include "base/MemoryDc_win.h"
#include "arrange/Snapping_win.h"
#include "notes/EditLayout_win.h"
#include "notes/NoteFrames_win.h"
#include "notes/NoteLayout.h"
#include "notes/NoteWindow_win.h"
#include "skin/Skin_win.h"
#include "skin/WindowShape_win.h"

namespace {

// The text is laid out as a multi-line edit control without horizontal
// scrolling lays it out: wrapped at word breaks, tabs expanded, & shown as is.
constexpr UINT kTextFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
constexpr UINT kMeasureFlags = DT_CALCRECT | kTextFlags;

void DrawWhole(HDC dc, HDC memoryDc, SkinBitmap* bitmap, Point at) {
    if (!bitmap || !bitmap->Handle()) return;
    bitmap->Select(memoryDc);
    bitmap->DrawTransparent(dc, at.x, at.y);
    bitmap->Deselect();
}

struct KnownMargins {
    LOGFONTW font;
    NoteWindow::TextMargins margins;
};

}  // namespace

// An edit control keeps a margin on each side of its formatting rectangle,
// which the system derives from the font. Asking a scratch edit control once
// per font is the only way to match it exactly; the few fonts of a run are
// remembered.
NoteWindow::TextMargins NoteWindow::EditMarginsOf(HFONT font) {
    static std::vector<KnownMargins> known;
    LOGFONTW lf = {};
    if (!font || !GetObjectW(font, sizeof lf, &lf)) return {};
    for (const KnownMargins& k : known) {
        if (std::memcmp(&k.font, &lf, sizeof lf) == 0) return k.margins;
    }
    TextMargins margins;
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!edit) return margins;
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const LRESULT both = SendMessageW(edit, EM_GETMARGINS, 0, 0);
    margins.left = LOWORD(both);
    margins.right = HIWORD(both);
    DestroyWindow(edit);
    if (known.size() < 64) known.push_back({lf, margins});
    return margins;
}

// Layers from the bottom up: the frame (background, more-text marker, priority
// icon, mask), the text, the buttons. A title line or other decoration goes in
// as one more layer; TextArea gives the text what is left.
void NoteWindow::Paint(HDC dc) {
    MemoryDc memory(dc);
    if (!memory) return;
    const RECT client = ClientRect();
    PaintFrame(dc, memory.Get(), client);
    PaintText(dc, TextArea(client));
    PaintButtons(dc, memory.Get(), client);
    if (pulseFrameShown) {
        // A fired alarm's pulse on a note that cannot fade: a frame in the
        // text colour around the text area.
        RECT r = TextArea(client);
        InflateRect(&r, 3, 3);
        OwnedBrush brush(CreateSolidBrush(NoteSkin().themedTextColor));
        for (int i = 0; i < 2 && brush; ++i) {
            FrameRect(dc, &r, brush.Get());
            InflateRect(&r, -1, -1);
        }
    }
}

FrameState NoteWindow::CurrentFrame(const RECT& client) const {
    FrameState state;
    state.width = client.right - client.left;
    state.height = client.bottom - client.top;
    state.priority = record.priority;
    state.moreText = moreText;
    state.masked = masked && NoteSkin().mask && host.Settings().layeredWindowEnabled;
    return state;
}

void NoteWindow::PaintFrame(HDC dc, HDC memoryDc, const RECT& client) {
    if (!frames) frames = NoteFramesFor(NoteSkin(), metrics);
    frames->Draw(dc, memoryDc, CurrentFrame(client));
}

RECT NoteWindow::TextArea(const RECT& client) const {
    return ToWin32(NoteGeometry::TextRect(ToPortable(client), metrics.editInsets));
}

// While the editor is open it shows the text; drawing it below as well would
// show through wherever the editor does not paint.
void NoteWindow::PaintText(HDC dc, const RECT& area) {
    if (editor || record.text.empty() || area.right <= area.left || area.bottom <= area.top) return;
    const Skin& skin = NoteSkin();
    const int saved = SaveDC(dc);
    // The editor shows no more than its area; neither does the idle text.
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, CurrentFont());
    SetTextColor(dc, skin.themedTextColor);
    SetBkMode(dc, TRANSPARENT);
    if (const EditLayout* layout = TextLayout(area.right - area.left, area.bottom - area.top)) {
        DrawEditLayout(dc, area.left, area.top, record.text, *layout);
    } else {
        RECT r = {area.left + textMargins.left, area.top, area.right - textMargins.right,
                  area.bottom};
        DrawTextW(dc, record.text.c_str(), static_cast<int>(record.text.size()), &r, kTextFlags);
    }
    RestoreDC(dc, saved);
}

const EditLayout* NoteWindow::IdleTextLayout() {
    const RECT area = TextArea(ClientRect());
    return TextLayout(area.right - area.left, area.bottom - area.top);
}

// The layout of the note's text in its text area, made again only when the
// text, the font or the area's size changed.
const EditLayout* NoteWindow::TextLayout(int width, int height) const {
    const size_t hash = std::hash<std::wstring>()(record.text);
    const HFONT font = CurrentFont();
    if (!layoutValid || layoutHash != hash || layoutLength != record.text.size() ||
        layoutFont != font || layoutWidth != width || layoutHeight != height) {
        layoutValid = LayOutAsEditor(record.text, font, width, height, textLayout);
        layoutHash = hash;
        layoutLength = record.text.size();
        layoutFont = font;
        layoutWidth = width;
        layoutHeight = height;
    }
    return layoutValid ? &textLayout : nullptr;
}

RECT NoteWindow::ButtonRect(NoteGeometry::NoteButton button, const RECT& client) const {
    return ToWin32(NoteGeometry::ButtonRect(button, client.right - client.left,
                                            client.bottom - client.top, metrics));
}

// The buttons show with the frame: never while it is masked.
void NoteWindow::PaintButtons(HDC dc, HDC memoryDc, const RECT& client) {
    if (masked) return;
    const Skin& skin = NoteSkin();
    using NoteGeometry::NoteButton;
    const struct {
        NoteButton button;
        const ButtonBitmaps& faces;
    } buttons[] = {{NoteButton::Menu, skin.menuButton.bitmaps},
                   {NoteButton::Delete, skin.deleteButton.bitmaps}};
    for (const auto& b : buttons) {
        const RECT r = ButtonRect(b.button, client);
        if (r.right <= r.left) continue;
        // As a push button shows itself: down while pressed with the cursor
        // on it, hover with the cursor on it, normal otherwise.
        SkinBitmap* face = b.faces.normal.get();
        if (hotButton == b.button)
            face = (pressedButton == b.button ? b.faces.down : b.faces.hover).get();
        if (!face) face = b.faces.normal.get();
        DrawWhole(dc, memoryDc, face, {r.left, r.top});
    }
}

LRESULT NoteWindow::OnControlColor(HDC dc, HWND control, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    const Skin& skin = NoteSkin();
    if (editor && control == editor->Handle()) {
        SetTextColor(dc, skin.themedTextColor);
        SetBkColor(dc, skin.themedTextBackgroundColor);
        if (skin.textBackgroundBrush)
            return reinterpret_cast<LRESULT>(skin.textBackgroundBrush.Get());
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    return SmallWindow::HandleMessage(Handle(), message, wParam, lParam);
}

// The area a laid-out text takes from rect's top-left corner: its lines, and
// the widest of them with the editor's right margin, and a pixel more so that
// the same width breaks the lines the same way.
void NoteWindow::SizeToLayout(RECT& rect, const EditLayout& layout) const {
    rect.right = rect.left + layout.right + textMargins.right + 1;
    rect.bottom = rect.top + layout.bottom;
}

// Text is measured in one memory DC kept for the whole run: the same font gives
// the same sizes there as on the screen, without asking the system for a
// window DC (and its visible region) for every note that is loaded.
void NoteWindow::MeasureText(RECT& rect, const std::wstring& s, bool& overflow) const {
    static const MemoryDc measuring(nullptr);
    overflow = false;
    const LONG bottomBefore = rect.bottom;
    // As the editor lays the text out (and the idle note draws it).
    // The note's own text at its own area is the layout the note paints
    // with: laid out once for both (laying out is the dearest step of
    // loading a note).
    EditLayout other;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const EditLayout* layout = nullptr;
    if (&s == &record.text)
        layout = TextLayout(width, height);
    else if (LayOutAsEditor(s, CurrentFont(), width, height, other))
        layout = &other;
    if (layout) {
        SizeToLayout(rect, *layout);
        overflow = rect.bottom > bottomBefore;
        return;
    }
    const HDC dc = measuring.Get();
    if (!dc) return;
    SelectedObject font(dc, CurrentFont());
    std::wstring measured = NoteGeometry::MeasuringText(s);
    DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &rect, kMeasureFlags);
    overflow = rect.bottom > bottomBefore;
}

NoteGeometry::MeasureFn NoteWindow::Measurer(const std::wstring& s) const {
    return [this, &s](const Rect& area) {
        RECT r = ToWin32(area);
        if (r.right <= r.left) r.right = r.left + 1;
        if (r.bottom <= r.top) r.bottom = r.top + 1;
        bool overflow = false;
        MeasureText(r, s, overflow);
        return ToPortable(r);
    };
}

// The buttons need no placing: they are drawn and hit-tested where the layout
// puts them for the current size.
void NoteWindow::LayoutForSize(int cx, int cy) {
    NoteGeometry::NoteLayout layout = NoteGeometry::LayoutNote(cx, cy, metrics);
    priorityIconPos = layout.priorityIcon;
    moreText =
        !record.text.empty() && NoteGeometry::TextOverflows(layout.textRect, Measurer(record.text));
}

// Sized to the text, then kept on its monitor (or at its background's size).
void NoteWindow::ResizeToContent() {
    const Rect w = ToPortable(WindowRect());
    const Rect workArea = ToPortable(Arrange::WorkAreaOf(Handle()));
    const NoteGeometry::MeasureFn measure = Measurer(record.text);
    const NoteGeometry::ContentFit fit =
        NoteGeometry::ResizeToContent(w, metrics, Grid(), workArea, measure);
    const NoteGeometry::FittedNote placed =
        NoteGeometry::PlaceFittedNote(fit.window, metrics, workArea, measure);
    moreText = placed.moreText || !fit.textFits;
    if (placed.window == w) {
        InvalidateAll();
        return;
    }
    SetRect(ToWin32(placed.window), true);
    host.NotesChanged();
}

void NoteWindow::UpdateShape() {
    if ((Layered() && !shapedForTyping) || !Handle()) return;
    const RECT w = WindowRect();
    const SIZE size = {w.right - w.left, w.bottom - w.top};
    if (size.cx == shapedSize.cx && size.cy == shapedSize.cy) return;
    if (!frames) frames = NoteFramesFor(NoteSkin(), metrics);
    if (ApplyWindowShape(Handle(), frames->Shape(size.cx, size.cy), true)) shapedSize = size;
}

// A layered note is shaped by its colour key, and the system shapes such a
// window anew from its pixels whenever they change: at every key typed. Under
// X that costs the server more the more windows there are (thousands of
// notes: several times the time to the painted character). While the note is
// edited (opaque, its frame shown) the window region of a note that is not
// layered gives the same shape once, and the colour key comes back with the
// end of the edit. The key goes first, as the system resets the shape with it.
void NoteWindow::ShapeForTyping(bool typing) {
    if (!Layered() || !Handle() || typing == shapedForTyping) return;
    if (typing) {
        if (!frames) frames = NoteFramesFor(NoteSkin(), metrics);
        const RECT w = WindowRect();
        HRGN shape = frames->Shape(w.right - w.left, w.bottom - w.top);
        // Without the skin's pixels there is no region: the key stays.
        if (!shape) return;
        SetLayeredWindowAttributes(Handle(), 0, 255, LWA_ALPHA);
        shapedForTyping = ApplyWindowShape(Handle(), shape, true);
        if (shapedForTyping) shapedSize = {w.right - w.left, w.bottom - w.top};
        return;
    }
    shapedForTyping = false;
    shapedSize = {};
    ApplyWindowShape(Handle(), nullptr, true);
}

// After a change of font the text takes another place at once.
void NoteWindow::Relayout() {
    const RECT c = ClientRect();
    LayoutForSize(c.right - c.left, c.bottom - c.top);
    InvalidateAll();
}

void NoteWindow::UpdateMask() {
    if (!host.Settings().layeredWindowEnabled) return;
    const bool old = masked;
    if (InPopupMenu() || frameForced || editor) {
        masked = false;
    } else {
        POINT cursor = {};
        GetCursorPos(&cursor);
        Rect window = ToPortable(WindowRect());
        if (GetForegroundWindow() != Handle() || !window.Contains({cursor.x, cursor.y})) {
            masked = true;
        } else {
            masked = Shrink(window, metrics.maskInsets).Contains({cursor.x, cursor.y});
        }
    }
    if (masked == old) return;
    // A press in progress stays pressed (the release decides), but nothing is
    // hot under a mask.
    if (masked) hotButton = NoteGeometry::NoteButton::None;
    InvalidateAll();
}
