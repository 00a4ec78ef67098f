#pragma once
// Where things go inside a note, and how big a note must be for its text.
// Text is measured through a callback so that the rules run without a device
// context: the Win32 side answers it with DrawTextW and DT_CALCRECT.

#include <cstdint>
#include <functional>
#include <string>

#include "arrange/Rect.h"
#include "notes/NoteMetrics.h"

namespace NoteGeometry {

// Measures the note's text laid out in `area` (word-wrapped at its width) and
// returns the rectangle the text needs: same left and top, right and bottom as
// measured.
using MeasureFn = std::function<Rect(const Rect& area)>;

// A negative coordinate counts from the right or bottom edge: width or height is
// added once.
Point ResolveSkinPosition(Point pos, int32_t width, int32_t height);

// The text area inside a window or client rectangle.
Rect TextRect(const Rect& r, const Insets& editInsets);

// The resize grip inside `r`, in r's coordinates; hit-test it with Rect::Contains.
Rect ResizeGripRect(const Rect& r, const Rect& resizeRect);

// The text as it must be measured: a final line feed gets a "." after it so that
// the empty last line counts.
std::wstring MeasuringText(const std::wstring& text);

// True when the text needs more height than `area` offers (the more-text marker).
bool TextOverflows(const Rect& area, const MeasureFn& measure);

// Client positions of everything inside a note of cx by cy pixels.
struct NoteLayout {
    Point menuButton;    // meaningful when the skin's menu button is visible
    Point deleteButton;  // likewise for the delete button
    Point priorityIcon;
    Rect textRect;  // the text view; its formatting rectangle is (0, 0, width, height)
};

NoteLayout LayoutNote(int32_t cx, int32_t cy, const NoteMetrics& metrics);

// The two skin buttons that a note draws on its frame.
enum class NoteButton { None, Menu, Delete };

// Where a button lies in a note of cx by cy pixels (client coordinates); empty
// when the skin does not show it.
Rect ButtonRect(NoteButton button, int32_t cx, int32_t cy, const NoteMetrics& metrics);

// The button under a client point. The delete button is drawn after the menu
// button, so it wins where the two overlap.
NoteButton ButtonAt(Point p, int32_t cx, int32_t cy, const NoteMetrics& metrics);

// Sizes a note to its text, keeping the top-left corner. A text wider than the
// note widens it, in steps of the background's width, until its longest line
// fits or the note is as wide as the work area; the height follows the text, at
// most the work area's height. `changed` is false when the right and bottom edges
// stay where they are; the note then does nothing. `textFits` is false when the
// work area cut the note short of its text (the more-text marker shows then).
struct ContentFit {
    Rect window;
    bool changed = false;
    bool textFits = true;
};

ContentFit ResizeToContent(const Rect& window, const NoteMetrics& metrics, const GridOptions& grid,
                           const Rect& workArea, const MeasureFn& measure);

// Growth of a note while its text is typed: never shrinks, stops at the right and
// bottom of the virtual screen. `editor` is the editor's new place in client
// coordinates. `grow` is false when nothing is to change.
struct Growth {
    bool grow = false;
    Rect window;
    Rect editor;
};

Growth GrowWhileTyping(const Rect& window, const NoteMetrics& metrics, const GridOptions& grid,
                       const Rect& virtualScreen, const MeasureFn& measure);

}  // namespace NoteGeometry

namespace NoteGeometry {

// A note of a fixed-size skin is always its background's size, its top-left
// corner kept; any other note (or a skin without a background) is left as is.
Rect FixedSizeWindow(const Rect& window, const NoteMetrics& metrics);

// Where a note sized to its text (ResizeToContent's window) finally goes: a
// fixed-size skin's note is its background; any other note stays inside
// `workArea`, its monitor's: it moves left and up as far as needed, and where
// even that is not enough it is capped at the work area, its text wrapped anew
// at the capped width. `moreText` tells whether the text still overflows.
struct FittedNote {
    Rect window;
    bool moreText = false;
};

FittedNote PlaceFittedNote(const Rect& fitted, const NoteMetrics& metrics, const Rect& workArea,
                           const MeasureFn& measure);

}  // namespace NoteGeometry
