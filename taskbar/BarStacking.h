#pragma once
// Keeping the bar above other programs' windows on the screen under Wine.
// Wine's X11 driver restacks a window's X window only when it becomes the first
// window of the whole Z order. A window mapped later (shown, restored) therefore
// lies above the bar on the screen, although the bar stays first in the window
// list, and asserting HWND_TOPMOST again changes nothing, as the order does not
// change.
#include <windows.h>

#include <utility>
#include <vector>

namespace orvane {

// Steps `bar` one place down the Z order and back to the top, which makes the
// driver raise its X window. Does nothing when the bar is the only window.
void RaiseBarOnScreen(HWND bar);

// Watches the other programs' windows that lie over the bar and raises the bar
// on the screen whenever they change (one shown, restored, moved or resized
// there), and for a few looks after, as the window's own mapping may come
// later than the change the watch saw, or, after a drag, when the mouse
// button comes up; and once a second while anything lies over the bar.
class TBarCoverWatch {
  public:
    explicit TBarCoverWatch(HWND bar) : bar_(bar) {}
    void Tick();

  private:
    std::vector<std::pair<HWND, RECT>> WindowsOverBar() const;

    HWND bar_;
    std::vector<std::pair<HWND, RECT>> over_;
    int raisesLeft_ = 0;
    int looksSinceRaise_ = 0;
};

} // namespace orvane
