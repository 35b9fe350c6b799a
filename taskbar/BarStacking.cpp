#include "taskbar/BarStacking.h"

namespace orvane {

void RaiseBarOnScreen(HWND bar) {
    // No WM_WINDOWPOSCHANGING: the bar's own handler would put it on top at
    // once, and the step down would not happen.
    constexpr UINT kFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING;
    HWND next = GetWindow(bar, GW_HWNDNEXT);
    if (!next)
        return;
    SetWindowPos(bar, next, 0, 0, 0, 0, kFlags);
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, kFlags);
}

} // namespace orvane
