#include "appbar/FullScreen.h"

namespace orvane {

bool CoversMonitor(const RECT& window, const RECT& monitor) {
    return window.left <= monitor.left && window.top <= monitor.top &&
           window.right >= monitor.right && window.bottom >= monitor.bottom;
}

HWND TFullScreenWatch::Look(const TActiveWindow& active, const std::vector<TMonitor>& monitors,
                            bool& changed) {
    HWND full = nullptr;
    if (active.Window && active.Shown && !active.Own && !monitors.empty()) {
        const int monitor = MonitorOf(active.Bounds, monitors);
        if (CoversMonitor(active.Bounds, monitors[static_cast<size_t>(monitor)].Bounds))
            full = active.Window;
    }
    changed = full != window_;
    window_ = full;
    return full;
}

} // namespace orvane
