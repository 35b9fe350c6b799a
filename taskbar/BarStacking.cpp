#include "taskbar/BarStacking.h"

#include <algorithm>

namespace orvane {

namespace {

// Raises after a change: the change itself, then the looks in which a late
// mapping of the window may still land. A window dragged with the mouse is
// raised once more on the screen when the button comes up, after its last
// move: the count starts again while a button is held.
constexpr int kRaisesPerChange = 5;

// While windows lie over the bar it is raised now and then anyway: not every
// way a window comes up on the screen shows in what the watch looks at.
constexpr int kLooksBetweenSteadyRaises = 10;

bool MouseButtonHeld() {
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        if (GetAsyncKeyState(button) & 0x8000)
            return true;
    return false;
}

struct OverlapSearch {
    RECT bar;
    DWORD shellProcess;
    std::vector<std::pair<HWND, RECT>> found;
};

BOOL CALLBACK CollectOverlapping(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<OverlapSearch*>(param);
    if (!IsWindowVisible(window) || IsIconic(window))
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.shellProcess) // the bar, the desktop, the start panel
        return TRUE;
    RECT rect, common;
    if (GetWindowRect(window, &rect) && IntersectRect(&common, &rect, &search.bar))
        search.found.emplace_back(window, rect);
    return TRUE;
}

bool SameWindows(const std::vector<std::pair<HWND, RECT>>& a,
                 const std::vector<std::pair<HWND, RECT>>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].first != b[i].first || !EqualRect(&a[i].second, &b[i].second))
            return false;
    return true;
}

} // namespace

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

std::vector<std::pair<HWND, RECT>> TBarCoverWatch::WindowsOverBar() const {
    OverlapSearch search{};
    GetWindowRect(bar_, &search.bar);
    search.shellProcess = GetCurrentProcessId();
    EnumWindows(CollectOverlapping, reinterpret_cast<LPARAM>(&search));
    return std::move(search.found);
}

void TBarCoverWatch::Tick() {
    std::vector<std::pair<HWND, RECT>> over = WindowsOverBar();
    if (!SameWindows(over, over_) || (!over.empty() && MouseButtonHeld()))
        raisesLeft_ = kRaisesPerChange;
    over_ = std::move(over);
    if (over_.empty())
        return;
    if (raisesLeft_ > 0 || ++looksSinceRaise_ >= kLooksBetweenSteadyRaises) {
        raisesLeft_ = std::max(raisesLeft_ - 1, 0);
        looksSinceRaise_ = 0;
        RaiseBarOnScreen(bar_);
    }
}

} // namespace orvane
