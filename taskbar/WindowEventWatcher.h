#pragma once
// Window events where the shell hook does not deliver them. Wine raises the
// hook's "created" at window creation, before the window is shown, and never
// raises "activated" or "redraw". Polled on the GUI thread, this watcher
// notices the same changes and reports them with the codes the hook would
// have used:
//   created   - a top-level window that may have a button (unowned, or owned
//               with WS_EX_APPWINDOW) became visible and has no button;
//   destroyed - a window with a button was hidden (destruction itself still
//               comes from the hook);
//   activated - the foreground window changed;
//   redraw    - the title of a window with a button changed.
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvane {

class TWindowEventWatcher {
  public:
    using Handler = std::function<void(HWND window, LPARAM code)>;
    using ButtonWindows = std::function<std::vector<HWND>()>;

    // What is on the screen now counts as known: only later changes are reported.
    TWindowEventWatcher(Handler handler, ButtonWindows buttonWindows);

    // One look at the windows; reports each change through the handler.
    void Tick();

  private:
    std::unordered_set<HWND> VisibleTopLevelWindows() const;

    Handler handler_;
    ButtonWindows buttonWindows_;
    std::unordered_set<HWND> visible_;
    HWND foreground_ = nullptr;
    std::unordered_map<HWND, std::string> titles_;
};

} // namespace orvane
