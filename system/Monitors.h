#pragma once
// The monitors of the screen as a list that code can be handed, so that
// placement over several monitors can be tested where the platform shows one.
#include <windows.h>

#include <vector>

namespace orvane {

struct TMonitor {
    RECT Bounds{};
    bool Primary = false;
};

// The platform's monitors, the primary marked; the primary screen alone when
// the platform lists none.
std::vector<TMonitor> PlatformMonitors();

// The primary monitor (the first when none is marked); -1 for an empty list.
int PrimaryMonitor(const std::vector<TMonitor>& monitors);
// The primary monitor's bounds; the primary screen's for an empty list.
RECT PrimaryBounds(const std::vector<TMonitor>& monitors);
// The monitor a rectangle lies on: the one it overlaps most, else the
// primary. Index into `monitors`; -1 for an empty list.
int MonitorOf(const RECT& rect, const std::vector<TMonitor>& monitors);
// The smallest rectangle holding every monitor (the virtual screen).
RECT VirtualScreen(const std::vector<TMonitor>& monitors);

} // namespace orvane
