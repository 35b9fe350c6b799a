#include "system/Monitors.h"

#include <algorithm>

namespace orvane {

namespace {

long long Overlap(const RECT& a, const RECT& b) {
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

RECT PrimaryScreen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<TMonitor>*>(param)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

} // namespace

std::vector<TMonitor> PlatformMonitors() {
    std::vector<TMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back({PrimaryScreen(), true});
    return monitors;
}

int PrimaryMonitor(const std::vector<TMonitor>& monitors) {
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Primary)
            return static_cast<int>(i);
    return monitors.empty() ? -1 : 0;
}

RECT PrimaryBounds(const std::vector<TMonitor>& monitors) {
    const int primary = PrimaryMonitor(monitors);
    return primary < 0 ? PrimaryScreen() : monitors[static_cast<size_t>(primary)].Bounds;
}

int MonitorOf(const RECT& rect, const std::vector<TMonitor>& monitors) {
    int best = -1;
    long long bestOverlap = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long overlap = Overlap(rect, monitors[i].Bounds);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = static_cast<int>(i);
        }
    }
    return best >= 0 ? best : PrimaryMonitor(monitors);
}

RECT VirtualScreen(const std::vector<TMonitor>& monitors) {
    if (monitors.empty())
        return PrimaryScreen();
    RECT all = monitors.front().Bounds;
    for (const TMonitor& monitor : monitors)
        UnionRect(&all, &all, &monitor.Bounds);
    return all;
}

} // namespace orvane
