#include "notes/NoteLayout.h"

#include <algorithm>

#include "arrange/Grid.h"

using Arrange::ClampToInt32;
using Arrange::RaiseToGrid;

namespace NoteGeometry {

namespace {

// Brings a negative grip coordinate into the rectangle by whole widths, as many
// as it takes; an empty rectangle leaves it where it is.
void CountFromFarEdge(int32_t& from, int32_t& to, int32_t extent) {
    if (from >= 0 || extent <= 0) return;
    const int64_t times = (-int64_t{from} + extent - 1) / extent;
    from = ClampToInt32(from + times * extent);
    to = ClampToInt32(to + times * extent);
}

int32_t Widened(int32_t right, int32_t step) {
    return ClampToInt32(int64_t{right} + step);
}

}  // namespace

Point ResolveSkinPosition(Point pos, int32_t width, int32_t height) {
    if (pos.x < 0) pos.x = ClampToInt32(int64_t{pos.x} + width);
    if (pos.y < 0) pos.y = ClampToInt32(int64_t{pos.y} + height);
    return pos;
}

Rect TextRect(const Rect& r, const Insets& editInsets) {
    return Shrink(r, editInsets);
}

Rect ResizeGripRect(const Rect& r, const Rect& resizeRect) {
    Rect grip = resizeRect;
    CountFromFarEdge(grip.left, grip.right, r.Width());
    CountFromFarEdge(grip.top, grip.bottom, r.Height());
    return Offset(grip, r.left, r.top);
}

std::wstring MeasuringText(const std::wstring& text) {
    if (!text.empty() && text.back() == L'\n') return text + L".";
    return text;
}

bool TextOverflows(const Rect& area, const MeasureFn& measure) {
    return measure(area).bottom > area.bottom;
}

NoteLayout LayoutNote(int32_t cx, int32_t cy, const NoteMetrics& metrics) {
    NoteLayout layout;
    layout.menuButton = ResolveSkinPosition(metrics.menuButton.pos, cx, cy);
    layout.deleteButton = ResolveSkinPosition(metrics.deleteButton.pos, cx, cy);
    layout.priorityIcon = ResolveSkinPosition(metrics.priorityPos, cx, cy);
    layout.textRect = TextRect({0, 0, cx, cy}, metrics.editInsets);
    return layout;
}

Rect ButtonRect(NoteButton button, int32_t cx, int32_t cy, const NoteMetrics& metrics) {
    const ButtonPlace* place = button == NoteButton::Menu     ? &metrics.menuButton
                               : button == NoteButton::Delete ? &metrics.deleteButton
                                                              : nullptr;
    if (!place || !place->visible || place->width <= 0 || place->height <= 0) return Rect{};
    const Point at = ResolveSkinPosition(place->pos, cx, cy);
    return {at.x, at.y, ClampToInt32(int64_t{at.x} + place->width),
            ClampToInt32(int64_t{at.y} + place->height)};
}

NoteButton ButtonAt(Point p, int32_t cx, int32_t cy, const NoteMetrics& metrics) {
    for (NoteButton button : {NoteButton::Delete, NoteButton::Menu}) {
        if (ButtonRect(button, cx, cy, metrics).Contains(p)) return button;
    }
    return NoteButton::None;
}

ContentFit ResizeToContent(const Rect& window, const NoteMetrics& metrics, const GridOptions& grid,
                           const Rect& workArea, const MeasureFn& measure) {
    const Insets& e = metrics.editInsets;
    Rect area = measure(TextRect(window, e));

    // Widening, in whole background widths, to the width the text's longest line
    // needs, and never wider than the work area: the text is measured once at
    // that widest width, once more at the width chosen, and never again, however
    // long it is. A measured bottom above the top would be no text at all, so
    // nothing is widened on such an answer, whatever the measuring callback says.
    const int32_t step =
        metrics.hasBackgroundBitmap && metrics.backgroundWidth > 0 ? metrics.backgroundWidth : 75;
    const int64_t widestText = std::max<int64_t>(0, int64_t{workArea.Width()} - e.left - e.right);
    if (area.bottom >= area.top && widestText > area.Width()) {
        Rect widest = area;
        widest.right = ClampToInt32(int64_t{area.left} + widestText);
        const Rect atWidest = measure(widest);
        if (atWidest.bottom < area.bottom && atWidest.bottom >= area.top) {
            const int64_t needed = std::max<int64_t>(atWidest.Width(), int64_t{area.Width()} + 1);
            const int64_t steps = (needed - area.Width() + step - 1) / step;
            Rect chosen = area;
            chosen.right = ClampToInt32(int64_t{area.left} +
                                        std::min(area.Width() + steps * step, widestText));
            const Rect measured = chosen.right == widest.right ? atWidest : measure(chosen);
            if (measured.bottom < area.bottom && measured.bottom >= area.top) area = measured;
        }
    }

    // A long word can be measured wider than the area, and a long text taller
    // than any screen: the note stops at the work area's size.
    const int64_t fullWidth = int64_t{e.left} + e.right + area.Width();
    const int64_t fullHeight = int64_t{e.top} + e.bottom + area.Height();
    int64_t width = std::min<int64_t>(fullWidth, workArea.Width());
    int64_t height = std::min<int64_t>(fullHeight, workArea.Height());
    if (width < metrics.backgroundWidth) width = metrics.backgroundWidth;
    if (height < metrics.backgroundHeight) height = metrics.backgroundHeight;
    if (grid.useGrid) {
        // Raised to grid lines; one line lower when that passes the work area.
        const auto onGrid = [&grid](int64_t size, int64_t limit, int64_t minimum) -> int64_t {
            const int64_t raised = RaiseToGrid(ClampToInt32(size), grid.gap);
            return raised > limit && grid.gap > 0 && raised - grid.gap >= minimum
                       ? raised - grid.gap
                       : raised;
        };
        width = onGrid(width, workArea.Width(), metrics.backgroundWidth);
        height = onGrid(height, workArea.Height(), metrics.backgroundHeight);
    }

    ContentFit fit;
    fit.window = {window.left, window.top, Widened(window.left, ClampToInt32(width)),
                  Widened(window.top, ClampToInt32(height))};
    fit.changed = fit.window.right != window.right || fit.window.bottom != window.bottom;
    fit.textFits = fullWidth <= width && fullHeight <= height;
    return fit;
}

Growth GrowWhileTyping(const Rect& window, const NoteMetrics& metrics, const GridOptions& grid,
                       const Rect& virtualScreen, const MeasureFn& measure) {
    Growth growth;
    growth.window = window;
    if (metrics.fixedSize) return growth;

    const Rect area = TextRect(window, metrics.editInsets);
    const Rect measured = measure(area);
    const int64_t dw = int64_t{measured.Width()} - area.Width();
    const int64_t dh = int64_t{measured.Height()} - area.Height();
    if (dw <= 0 && dh <= 0) return growth;

    Rect w = window;
    if (dw > 0) w.right = ClampToInt32(w.right + dw);
    if (dh > 0) w.bottom = ClampToInt32(w.bottom + dh);
    // The screen edge stops the growth, but a note already reaching past it is
    // not cut back: typing never makes a note smaller.
    if (w.right > virtualScreen.right) w.right = std::max(window.right, virtualScreen.right);
    if (w.bottom > virtualScreen.bottom) w.bottom = std::max(window.bottom, virtualScreen.bottom);

    if (w.Width() < metrics.backgroundWidth) w.right = Widened(w.left, metrics.backgroundWidth);
    if (w.Height() < metrics.backgroundHeight) w.bottom = Widened(w.top, metrics.backgroundHeight);
    if (grid.useGrid) {
        w.right = Widened(w.left, RaiseToGrid(w.Width(), grid.gap));
        w.bottom = Widened(w.top, RaiseToGrid(w.Height(), grid.gap));
    }

    growth.grow = w != window;
    growth.window = w;
    growth.editor = Offset(TextRect(w, metrics.editInsets), -w.left, -w.top);
    return growth;
}

}  // namespace NoteGeometry

namespace NoteGeometry {

namespace {

bool KeepsBackgroundSize(const NoteMetrics& m) {
    return m.fixedSize && m.hasBackgroundBitmap && m.backgroundWidth > 0 && m.backgroundHeight > 0;
}

}  // namespace

Rect FixedSizeWindow(const Rect& window, const NoteMetrics& metrics) {
    if (!KeepsBackgroundSize(metrics)) return window;
    return {window.left, window.top, Widened(window.left, metrics.backgroundWidth),
            Widened(window.top, metrics.backgroundHeight)};
}

namespace {

// Moves [from, from + length) left (up) until it ends inside [low, high), but
// never past low.
int32_t KeepInside(int32_t from, int32_t length, int32_t low, int32_t high) {
    int64_t start = from;
    if (start + length > high) start = int64_t{high} - length;
    if (start < low) start = low;
    return ClampToInt32(start);
}

}  // namespace

FittedNote PlaceFittedNote(const Rect& fitted, const NoteMetrics& metrics, const Rect& workArea,
                           const MeasureFn& measure) {
    FittedNote out;
    const bool fixed = KeepsBackgroundSize(metrics);
    Rect w = FixedSizeWindow(fitted, metrics);
    if (workArea.Width() > 0 && workArea.Height() > 0) {
        int32_t width = w.Width();
        int32_t height = w.Height();
        // A fixed-size note keeps its background's size and only moves.
        if (!fixed && width > workArea.Width()) {
            // Narrower, the text takes more lines: measure it again.
            width = workArea.Width();
            const Insets& e = metrics.editInsets;
            Rect area = TextRect({0, 0, width, height}, e);
            area.bottom = ClampToInt32(int64_t{area.top} + workArea.Height());
            const Rect measured = measure(area);
            height = std::max(metrics.backgroundHeight,
                              ClampToInt32(int64_t{e.top} + e.bottom + measured.Height()));
        }
        if (!fixed) height = std::min(height, workArea.Height());
        const int32_t left = KeepInside(w.left, width, workArea.left, workArea.right);
        const int32_t top = KeepInside(w.top, height, workArea.top, workArea.bottom);
        w = {left, top, Widened(left, width), Widened(top, height)};
    }
    out.window = w;
    const Rect area = TextRect(w, metrics.editInsets);
    out.moreText = area.Width() > 0 && TextOverflows(area, measure);
    return out;
}

}  // namespace NoteGeometry
