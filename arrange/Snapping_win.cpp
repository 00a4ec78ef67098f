#include "arrange/Snapping_win.h"

#include "arrange/Rect_win.h"

namespace Arrange {

namespace {

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

}  // namespace Arrange
