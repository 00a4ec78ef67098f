#include "ui/SkinnedWindows_win.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "ui/SmallWindow_win.h"

SkinnedWindows::SkinnedWindows() = default;

// A window adds itself once and removes itself once (SmallWindow's inSet),
// so neither looks for a second entry: with thousands of notes a start and an
// exit would otherwise cost the square of their number.
void SkinnedWindows::Add(SmallWindow& window) {
    live.push_back(&window);
}

void SkinnedWindows::Remove(const SmallWindow& window) {
    // From the back: the window going is most often one of the last made.
    const auto found = std::find(live.rbegin(), live.rend(), &window);
    if (found != live.rend()) live.erase(std::next(found).base());
    if (mover == &window) {
        mover = nullptr;
        bodiesValid = false;
    }
}

void SkinnedWindows::SetAlpha(uint8_t value) {
    alpha = value;
    // By index: a window's fade only sets a timer, but the list is ours to
    // guard all the same.
    for (size_t i = 0; i < live.size(); ++i) live[i]->FollowAlpha(value);
}

void SkinnedWindows::Snap(SmallWindow& window, WINDOWPOS& pos) {
    if (snapPolicy)
        snapPolicy(window, pos);
    else
        SnapByRules(window, pos);
}

std::vector<Rect> SkinnedWindows::ReadAreas() const {
    return workAreaSource ? workAreaSource() : Arrange::ReadWorkAreas();
}

void SkinnedWindows::Hold() {
    if (holds++ == 0 || !areasValid) {
        areas = ReadAreas();
        areasValid = true;
    }
}

void SkinnedWindows::Release() {
    if (holds == 0 || --holds > 0) return;
    // The next move sees the monitors and the windows as they are then.
    areas.clear();
    areasValid = false;
    bodiesValid = false;
    mover = nullptr;
    bodies.clear();
}

const std::vector<Rect>& SkinnedWindows::WorkAreas() {
    if (!areasValid) {
        areas = ReadAreas();
        // Unheld, the list serves this one caller only.
        areasValid = holds > 0;
    }
    return areas;
}

const std::vector<Arrange::SnapBody>& SkinnedWindows::BodiesFor(const SmallWindow& window) {
    if (!bodiesValid || mover != &window) {
        std::vector<Arrange::SnapTarget> others;
        others.reserve(live.size());
        for (SmallWindow* other : live) {
            if (other == &window) continue;
            HWND handle = other->Handle();
            if (!handle || !IsWindowVisible(handle)) continue;
            others.push_back({ToPortable(other->WindowRect()), other->SnapInsets(), true});
        }
        bodies = Arrange::SnapBodies(others);
        mover = &window;
        // Unheld, the list serves this one position change only.
        bodiesValid = holds > 0;
    }
    return bodies;
}

void SkinnedWindows::SnapByRules(SmallWindow& window, WINDOWPOS& pos) {
    if (!window.SnappingEnabled()) return;
    if ((pos.flags & SWP_NOMOVE) && (pos.flags & SWP_NOSIZE)) return;
    if (GetAsyncKeyState(VK_CONTROL) < 0) return;
    if (window.IsSizing()) return;

    int32_t cx = pos.cx;
    int32_t cy = pos.cy;
    if (pos.flags & SWP_NOSIZE) {
        RECT r = window.WindowRect();
        cx = r.right - r.left;
        cy = r.bottom - r.top;
    }
    // A pure resize carries no position of its own: snap from where it is.
    int32_t x = pos.x;
    int32_t y = pos.y;
    if (pos.flags & SWP_NOMOVE) {
        RECT r = window.WindowRect();
        x = r.left;
        y = r.top;
    }

    Arrange::SnapOptions options;
    options.toGrid = window.SnapToGrid();
    options.toNotes = window.SnapToNotes();
    options.gap = window.SnapGap();
    options.border = window.SnapBorder();
    options.insets = window.SnapInsets();

    if (!options.toGrid && options.toNotes)
        Arrange::SnapWindow(options, BodiesFor(window), WorkAreas(), x, y, cx, cy);
    else
        Arrange::SnapWindow(options, std::vector<Arrange::SnapBody>{}, {}, x, y, cx, cy);
    if (!(pos.flags & SWP_NOMOVE)) {
        pos.x = x;
        pos.y = y;
    }
}
