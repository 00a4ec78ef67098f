#include "arrange/Snapping_win.h"

#include "arrange/Rect_win.h"

namespace Arrange {

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* list = reinterpret_cast<std::vector<Monitor>*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info))
        list->push_back({ToPortable(info.rcMonitor), ToPortable(info.rcWork)});
    return TRUE;
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

std::vector<Rect> ReadWorkAreas() {
    std::vector<Rect> areas;
    const std::vector<Monitor> monitors = EnumerateMonitors();
    areas.reserve(monitors.size());
    for (const Monitor& m : monitors) areas.push_back(m.workArea);
    return areas;
}

}  // namespace Arrange
