#include "ui/WindowSnapping_win.h"

#include <vector>

#include "arrange/Snapping_win.h"
#include "ui/SmallWindow_win.h"

namespace {

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

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

    std::vector<Arrange::SnapTarget> others;
    if (!options.toGrid && options.toNotes) {
        const auto& list = SmallWindowList();
        others.reserve(list.size());
        for (SmallWindow* other : list) {
            if (other == &window) continue;
            HWND handle = other->Handle();
            Arrange::SnapTarget target;
            target.visible = handle && IsWindow(handle) && IsWindowVisible(handle);
            if (!target.visible) continue;
            target.rect = ToRect(other->WindowRect());
            target.insets = other->SnapInsets();
            others.push_back(target);
        }
    }
    static const std::vector<Rect> kNoAreas;
    const std::vector<Rect>& areas =
        (!options.toGrid && options.toNotes) ? Arrange::WorkAreas() : kNoAreas;
    Arrange::SnapWindow(options, others, areas, x, y, cx, cy);
    if (!(pos.flags & SWP_NOMOVE)) {
        pos.x = x;
        pos.y = y;
    }
}

void InstallSnapping() {
    SnapHooks hooks;
    hooks.snap = &SnapWindowPos;
    hooks.holdWorkAreas = &Arrange::HoldWorkAreas;
    hooks.releaseWorkAreas = &Arrange::ReleaseWorkAreas;
    SmallWindow::SetSnapHooks(hooks);
}
