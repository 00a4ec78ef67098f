#include "arrange/Snapping_win.h"

#include "main/SmallWindow_win.h"

namespace Arrange {

namespace {

Rect ToPortable(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

struct WorkAreaCache {
    std::vector<Rect> areas;
    int holds = 0;
    bool valid = false;
};

WorkAreaCache& Cache() {
    static WorkAreaCache cache;
    return cache;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* list = reinterpret_cast<std::vector<Monitor>*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info))
        list->push_back({ToPortable(info.rcMonitor), ToPortable(info.rcWork)});
    return TRUE;
}

void ReadWorkAreas(std::vector<Rect>& areas) {
    areas.clear();
    areas.reserve(static_cast<size_t>(GetSystemMetrics(SM_CMONITORS)));
    for (const Monitor& m : EnumerateMonitors()) areas.push_back(m.workArea);
}

}  // namespace

std::vector<Monitor> EnumerateMonitors() {
    std::vector<Monitor> list;
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcWork;
    RECT screen = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    return screen;
}

void HoldWorkAreas() {
    WorkAreaCache& cache = Cache();
    if (cache.holds++ == 0 || !cache.valid) {
        ReadWorkAreas(cache.areas);
        cache.valid = true;
    }
}

void ReleaseWorkAreas() {
    WorkAreaCache& cache = Cache();
    if (cache.holds == 0) return;
    if (--cache.holds == 0) {
        // The next move reads the display configuration of that moment.
        cache.areas.clear();
        cache.valid = false;
    }
}

const std::vector<Rect>& WorkAreas() {
    WorkAreaCache& cache = Cache();
    if (!cache.valid) {
        ReadWorkAreas(cache.areas);
        // Unheld, the list serves this one caller only.
        cache.valid = cache.holds > 0;
    }
    return cache.areas;
}

int WorkAreaHolds() {
    return Cache().holds;
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

    SnapOptions options;
    options.toGrid = window.SnapToGrid();
    options.toNotes = window.SnapToNotes();
    options.gap = window.SnapGap();
    options.border = window.SnapBorder();
    options.insets = window.SnapInsets();

    std::vector<SnapTarget> others;
    if (!options.toGrid && options.toNotes) {
        const auto& list = SmallWindowList();
        others.reserve(list.size());
        for (SmallWindow* other : list) {
            if (other == &window) continue;
            HWND handle = other->Handle();
            SnapTarget target;
            target.visible = handle && IsWindow(handle) && IsWindowVisible(handle);
            if (!target.visible) continue;
            target.rect = ToPortable(other->WindowRect());
            target.insets = other->SnapInsets();
            others.push_back(target);
        }
    }
    static const std::vector<Rect> kNoAreas;
    const std::vector<Rect>& areas = (!options.toGrid && options.toNotes) ? WorkAreas() : kNoAreas;
    SnapWindow(options, others, areas, x, y, cx, cy);
    if (!(pos.flags & SWP_NOMOVE)) {
        pos.x = x;
        pos.y = y;
    }
}

void InstallSnapping() {
    SnapHooks hooks;
    hooks.snap = &SnapWindowPos;
    hooks.holdWorkAreas = &HoldWorkAreas;
    hooks.releaseWorkAreas = &ReleaseWorkAreas;
    SmallWindow::SetSnapHooks(hooks);
}

}  // namespace Arrange
