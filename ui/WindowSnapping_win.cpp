#include "ui/WindowSnapping_win.h"

#include <vector>

#include "arrange/Rect_win.h"
#include "arrange/Snapping_win.h"
#include "ui/SmallWindow_win.h"

namespace {

// The other windows' bodies, gathered at the first snap of a hold for the
// window that moves, and dropped with the last hold: a drag asks the system
// about every other window once, not at every mouse step.
struct HeldBodies {
    int holds = 0;
    const SmallWindow* mover = nullptr;
    bool valid = false;
    std::vector<Arrange::SnapBody> bodies;
};

HeldBodies& Held() {
    static HeldBodies held;
    return held;
}

std::vector<Arrange::SnapBody> GatherBodies(const SmallWindow& window) {
    std::vector<Arrange::SnapTarget> others;
    const auto& list = SmallWindowList();
    others.reserve(list.size());
    for (SmallWindow* other : list) {
        if (other == &window) continue;
        HWND handle = other->Handle();
        if (!handle || !IsWindow(handle) || !IsWindowVisible(handle)) continue;
        others.push_back({ToPortable(other->WindowRect()), other->SnapInsets(), true});
    }
    return Arrange::SnapBodies(others);
}

const std::vector<Arrange::SnapBody>& BodiesFor(const SmallWindow& window) {
    HeldBodies& held = Held();
    if (!held.valid || held.mover != &window) {
        held.bodies = GatherBodies(window);
        held.mover = &window;
        // Unheld, the list serves this one position change only.
        held.valid = held.holds > 0;
    }
    return held.bodies;
}

}  // namespace

void HoldSnapping() {
    Arrange::HoldWorkAreas();
    ++Held().holds;
}

void ReleaseSnapping() {
    Arrange::ReleaseWorkAreas();
    HeldBodies& held = Held();
    if (held.holds == 0 || --held.holds > 0) return;
    // The next move sees the windows where they are then.
    held.valid = false;
    held.mover = nullptr;
    held.bodies.clear();
}

void SnapWindowPos(SmallWindow& window, WINDOWPOS& pos) {
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
        Arrange::SnapWindow(options, BodiesFor(window), Arrange::WorkAreas(), x, y, cx, cy);
    else
        Arrange::SnapWindow(options, std::vector<Arrange::SnapBody>{}, {}, x, y, cx, cy);
    if (!(pos.flags & SWP_NOMOVE)) {
        pos.x = x;
        pos.y = y;
    }
}

void InstallSnapping() {
    SnapHooks hooks;
    hooks.snap = &SnapWindowPos;
    hooks.holdWorkAreas = &HoldSnapping;
    hooks.releaseWorkAreas = &ReleaseSnapping;
    SmallWindow::SetSnapHooks(hooks);
}
