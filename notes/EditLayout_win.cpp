#include "notes/EditLayout_win.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/MemoryDc_win.h"

namespace {

// One hidden edit control for the whole run, styled as the editor; a note
// has no child windows while idle. The control asks for a DC for every line
// it breaks; with a DC of its own (the system's edit control, given
// CS_OWNDC) that costs the system no new visible region each time: a fifth
// less time to lay a text out under Wine. The lines are the same.
HWND LayoutEdit() {
    static HWND edit = [] {
        WNDCLASSEXW own = {};
        own.cbSize = sizeof own;
        const wchar_t* cls = L"Edit";
        if (GetClassInfoExW(nullptr, L"Edit", &own)) {
            own.style |= CS_OWNDC;
            own.hInstance = GetModuleHandleW(nullptr);
            own.lpszClassName = L"Zephyn3 LayoutEdit";
            if (RegisterClassExW(&own)) cls = L"Zephyn3 LayoutEdit";
        }
        return CreateWindowExW(0, cls, L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 100,
                               100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }();
    return edit;
}

struct KnownTabWidth {
    LOGFONTW font;
    int width;
};

// The control's tab stops are its own (dialog units of its font), not those
// a DC computes from the font's average width: read once per font from where
// it puts a character after a tab, then remembered (a run has few fonts).
int TabWidthOf(HWND edit, HFONT font) {
    static std::vector<KnownTabWidth> known;
    LOGFONTW lf = {};
    const bool named = GetObjectW(font, sizeof lf, &lf) != 0;
    for (const KnownTabWidth& k : known)
        if (named && std::memcmp(&k.font, &lf, sizeof lf) == 0) return k.width;
    // Wide enough that the character never wraps below the tab.
    RECT wide = {0, 0, 30000, 100};
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&wide));
    SetWindowTextW(edit, L"\tx");
    const LRESULT before = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    const LRESULT after = SendMessageW(edit, EM_POSFROMCHAR, 1, 0);
    const int width =
        std::max(1, static_cast<short>(LOWORD(after)) - static_cast<short>(LOWORD(before)));
    SetWindowTextW(edit, L"");
    if (named && known.size() < 64) known.push_back({lf, width});
    return width;
}

}  // namespace

namespace {

// Where a laid-out line ends, relative to the text area, with the editor's tab
// stops, measured in dc (the layout's font selected).
int RightOf(HDC dc, const std::wstring& text, const EditLine& line, const int& tabWidth) {
    const DWORD extent = line.length > 0 ? GetTabbedTextExtentW(dc, text.c_str() + line.start,
                                                                line.length, 1, &tabWidth)
                                         : 0;
    return static_cast<int>(line.at.x + LOWORD(extent));
}

// Reads the lines of the text the control holds (its first `size` characters).
void ReadLines(HWND edit, HDC dc, const std::wstring& text, size_t size, EditLayout& out) {
    out.lines.clear();
    out.right = 0;
    out.bottom = 0;
    const int count = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    POINT first = {0, 0};
    for (int i = 0; i < count; ++i) {
        EditLine line;
        line.start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
        if (line.start < 0) break;
        line.length =
            static_cast<int>(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(line.start), 0));
        // No position is given for the end of the text (an empty last line):
        // it lies one line below the one before, at the first line's left.
        const LRESULT pos =
            static_cast<size_t>(line.start) < size
                ? SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(line.start), 0)
                : -1;
        if (pos != -1) {
            line.at = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        } else if (!out.lines.empty()) {
            line.at = {first.x, out.lines.back().at.y + out.lineHeight};
        } else {
            RECT r = {};
            SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
            line.at = {r.left, r.top};
        }
        if (out.lines.empty()) first = line.at;
        out.lines.push_back(line);
    }
    for (const EditLine& line : out.lines) {
        out.right = std::max(out.right, RightOf(dc, text, line, out.tabWidth));
        out.bottom = line.at.y + out.lineHeight;
    }
}

// The first characters of a text to lay out, never ending inside a surrogate
// pair or between the CR and the LF of a line break.
size_t PieceEnd(const std::wstring& text, size_t wanted) {
    if (wanted >= text.size()) return text.size();
    size_t end = wanted;
    if (end > 0 && (text[end - 1] == L'\r' || (text[end - 1] >= 0xD800 && text[end - 1] < 0xDC00)))
        --end;
    return end;
}

// The first piece laid out.
constexpr size_t kFirstPiece = 2048;

}  // namespace

// Laying a long text out costs time that grows with its length times its
// number of lines (in some edit controls, with the square of its length), and
// nothing below the screen is ever drawn. So only as much of the text is laid
// out as fills the area (at least the screen's height, at most twice that)
// with two lines to spare: the lines of such a piece are the text's own, except its last line,
// which may end inside a word and is dropped. The bottom of a text laid out in
// part is then estimated from the share of the text its lines hold, so that a
// narrower width still gives a taller text.
namespace {

bool LayOutUncached(const std::wstring& text, HFONT font, int width, int height, EditLayout& out) {
    out = EditLayout();
    HWND edit = LayoutEdit();
    if (!edit || width <= 0 || height <= 0) return false;
    // As the editor is prepared (NoteEdit_win.cpp): its size, the font, the
    // default tab stops and the formatting rectangle, set while the control is
    // empty so that the text is broken into lines once.
    // Resizing even a hidden window costs the system a round of work, the same
    // size or not (some tenths of a millisecond under X): most notes share a
    // size, so the control keeps the last one until another is asked for.
    RECT now = {};
    if (!GetClientRect(edit, &now) || now.right != width || now.bottom != height)
        SetWindowPos(edit, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(edit, EM_SETTABSTOPS, 0, 0);
    out.tabWidth = TabWidthOf(edit, font);
    SetWindowTextW(edit, L"");
    RECT format = {0, 0, width, height};
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));

    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    out.lineHeight = std::max<int>(1, metrics.tmHeight);
    // The area's height, but at least the screen's and at most twice that: a
    // measuring area may be as tall as a guess at a long text's height.
    const int64_t screen = std::max(1, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const int64_t enough =
        std::clamp<int64_t>(height, screen, 2 * screen) + 2 * int64_t{out.lineHeight};
    size_t size = PieceEnd(text, kFirstPiece);
    for (;;) {
        if (size == text.size()) {
            SetWindowTextW(edit, text.c_str());
        } else {
            SetWindowTextW(edit, text.substr(0, size).c_str());
        }
        ReadLines(edit, dc, text, size, out);
        if (size == text.size() || out.bottom > enough) break;
        // As much more as the lines so far say the area needs, and a quarter
        // more: at least twice, at most sixteen times as much as before.
        const int64_t shown = std::max<int64_t>(out.bottom, out.lineHeight);
        const size_t wanted = static_cast<size_t>(
            std::clamp<int64_t>(static_cast<int64_t>(size) * enough * 5 / 4 / shown,
                                static_cast<int64_t>(size) * 2, static_cast<int64_t>(size) * 16));
        const size_t next = PieceEnd(text, wanted);
        if (next <= size) break;
        size = next;
    }
    if (size < text.size() && out.lines.size() > 1) {
        out.lines.pop_back();
        const EditLine& last = out.lines.back();
        const size_t held = static_cast<size_t>(last.start) + static_cast<size_t>(last.length);
        out.right = 0;
        for (const EditLine& line : out.lines)
            out.right = std::max(out.right, RightOf(dc, text, line, out.tabWidth));
        const int64_t bottom = last.at.y + out.lineHeight;
        const int64_t estimate =
            held > 0 ? bottom * static_cast<int64_t>(text.size()) / static_cast<int64_t>(held)
                     : bottom;
        out.bottom = static_cast<int>(std::min<int64_t>(estimate, INT32_MAX / 4));
    }
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    // The control keeps no copy of a note's text longer than needed.
    SetWindowTextW(edit, L"");
    return true;
}

// The last few layouts: fitting a note to its text, sizing it and painting it
// ask for the same text at the same width one after another.
struct KnownLayout {
    std::wstring text;
    LOGFONTW font;
    int width;
    int64_t height;
    EditLayout layout;
};

}  // namespace

bool LayOutAsEditor(const std::wstring& text, HFONT font, int width, int height, EditLayout& out) {
    static std::vector<KnownLayout> known;
    LOGFONTW lf = {};
    if (!GetObjectW(font, sizeof lf, &lf)) return LayOutUncached(text, font, width, height, out);
    // The height counts only as far as it decides how much is laid out.
    const int64_t screen = std::max(1, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const int64_t heightKey = std::clamp<int64_t>(height, screen, 2 * screen);
    for (size_t i = 0; i < known.size(); ++i) {
        KnownLayout& k = known[i];
        if (k.width == width && k.height == heightKey && k.text.size() == text.size() &&
            std::memcmp(&k.font, &lf, sizeof lf) == 0 && k.text == text) {
            out = k.layout;
            std::rotate(known.begin(), known.begin() + static_cast<std::ptrdiff_t>(i),
                        known.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return true;
        }
    }
    if (!LayOutUncached(text, font, width, height, out)) return false;
    known.insert(known.begin(), KnownLayout{text, lf, width, heightKey, out});
    if (known.size() > 4) known.pop_back();
    return true;
}

bool ReadEditorLayout(HWND edit, HFONT font, const std::wstring& text, EditLayout& out,
                      int mostLines) {
    out = EditLayout();
    HWND probe = LayoutEdit();
    // Measuring needs no window DC: a memory DC gives the font's sizes.
    static const MemoryDc measuring(nullptr);
    if (!edit || !probe || !measuring) return false;
    const int count = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    if (count <= 0 || count > mostLines) return false;
    out.tabWidth = TabWidthOf(probe, font);
    const HDC dc = measuring.Get();
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    out.lineHeight = std::max<int>(1, metrics.tmHeight);
    // Lines start at the formatting rectangle's left edge, one line height
    // apart from its top (the control scrolls by whole lines).
    RECT format = {};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    out.lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        EditLine line;
        line.start = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
        if (line.start < 0 || static_cast<size_t>(line.start) > text.size()) break;
        line.length =
            static_cast<int>(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(line.start), 0));
        line.length = std::clamp(line.length, 0, static_cast<int>(text.size()) - line.start);
        line.at = {format.left, static_cast<LONG>(format.top + int64_t{i} * out.lineHeight)};
        out.right = std::max(out.right, RightOf(dc, text, line, out.tabWidth));
        out.bottom = line.at.y + out.lineHeight;
        out.lines.push_back(line);
    }
    SelectObject(dc, old);
    return !out.lines.empty();
}

void DrawEditLayout(HDC dc, int x, int y, const std::wstring& text, const EditLayout& layout) {
    for (const EditLine& line : layout.lines) {
        // A layout made for another text draws nothing past this one's end.
        if (line.length <= 0 || line.start < 0 ||
            static_cast<size_t>(line.start) + static_cast<size_t>(line.length) > text.size())
            continue;
        // Tabs count from the line's start, as the editor counts them from
        // its formatting rectangle's left edge.
        TabbedTextOutW(dc, x + line.at.x, y + line.at.y, text.c_str() + line.start, line.length, 1,
                       &layout.tabWidth, x + line.at.x);
    }
}
