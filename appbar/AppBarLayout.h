#pragma once
// The bars that take room at the screen's edges (other programs' app bars and
// the shell's own taskbar) and the arithmetic of where each may lie and what
// room is left for the other windows. Pure: monitors come in as a list, and
// nothing here asks the system anything, so every case can be tested with
// monitors the platform cannot show.
#include "system/Monitors.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace orvane {

// The edges as APPBARDATA names them.
constexpr UINT kEdgeLeft = ABE_LEFT, kEdgeTop = ABE_TOP, kEdgeRight = ABE_RIGHT,
               kEdgeBottom = ABE_BOTTOM;

struct TAppBar {
    HWND Window = nullptr;
    UINT CallbackMessage = 0;
    // Where the bar lies, once it asked for a place (SetPos).
    std::optional<RECT> Place;
    UINT Edge = kEdgeTop;
};

class TAppBarLayout {
  public:
    // False when the window has a bar already.
    bool Add(HWND window, UINT callbackMessage);
    // False when the window has no bar.
    bool Remove(HWND window);
    const TAppBar* Find(HWND window) const;
    const std::vector<TAppBar>& Bars() const { return bars_; }

    // Where a bar of `window` may lie on `edge`, given the place it asks for:
    // against that edge of its monitor, inside the bars that came before it
    // (on the same edge they stack outward-in, in the order they were
    // registered), keeping the thickness it asked for. A window without a
    // bar is placed as if it were the newest. Nothing when the edge is none
    // of the four or there is no monitor.
    std::optional<RECT> QueryPos(HWND window, UINT edge, const RECT& wanted,
                                 const std::vector<TMonitor>& monitors) const;
    // QueryPos, and the bar takes the place it got. Nothing (and no change)
    // when the window has no bar or QueryPos gave nothing.
    std::optional<RECT> SetPos(HWND window, UINT edge, const RECT& wanted,
                               const std::vector<TMonitor>& monitors);

    // The room a monitor leaves for other windows: its bounds less every
    // placed bar on it. `monitor` indexes `monitors`.
    RECT WorkArea(size_t monitor, const std::vector<TMonitor>& monitors) const;

    // The auto-hide bar of an edge (one per edge), or null.
    HWND AutoHideBar(UINT edge) const;
    // Registers (on) or drops (off) `window` as the auto-hide bar of `edge`.
    // False when another window holds the edge, when the window has no bar,
    // or when it drops an edge it does not hold.
    bool SetAutoHideBar(HWND window, UINT edge, bool on);

    // Drops the bars whose window `alive` rejects; the windows dropped.
    template <typename Alive> std::vector<HWND> RemoveDead(Alive alive) {
        std::vector<HWND> dead;
        for (const TAppBar& bar : bars_)
            if (!alive(bar.Window))
                dead.push_back(bar.Window);
        for (HWND window : dead)
            Remove(window);
        return dead;
    }

  private:
    // The monitor's bounds less the placed bars before `index` (all when
    // index is past the end).
    RECT RoomBefore(size_t index, size_t monitor, const std::vector<TMonitor>& monitors) const;

    std::vector<TAppBar> bars_;
    HWND autoHide_[4] = {};
};

} // namespace orvane
