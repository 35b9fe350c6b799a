#pragma once
// Keeping the bar above other programs' windows on the screen under Wine.
// Wine's X11 driver restacks a window's X window only when it becomes the first
// window of the whole Z order. A window mapped later therefore lies above the
// bar on the screen, although the bar stays first in the window list, and
// asserting HWND_TOPMOST again changes nothing, as the order does not change.
#include <windows.h>

namespace orvane {

// Steps `bar` one place down the Z order and back to the top, which makes the
// driver raise its X window. Does nothing when the bar is the only window.
void RaiseBarOnScreen(HWND bar);

} // namespace orvane
