#pragma once
// Telling when the active window is a full-screen program (a video, a game, a
// presentation): it covers the whole of the monitor it lies on.
#include "appbar/AppBarLayout.h"

#include <windows.h>

#include <vector>

namespace orvane {

// True when `window` covers all of `monitor`.
bool CoversMonitor(const RECT& window, const RECT& monitor);

// What the watch is shown of the active window at one look.
struct TActiveWindow {
    HWND Window = nullptr;
    RECT Bounds{};
    // Shown and not minimised.
    bool Shown = false;
    // One of the shell's own windows (the desktop covers the screen too).
    bool Own = false;
};

// Follows the active window from look to look.
class TFullScreenWatch {
  public:
    // The full-screen window after this look (null when there is none);
    // `changed` tells whether it differs from the one before.
    HWND Look(const TActiveWindow& active, const std::vector<TMonitor>& monitors, bool& changed);
    HWND Window() const { return window_; }

  private:
    HWND window_ = nullptr;
};

} // namespace orvane
