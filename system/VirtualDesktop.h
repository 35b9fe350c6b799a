#pragma once
// Wine's virtual desktop: one X window that holds a whole Windows desktop,
// drawn with window frames by Wine itself. explorer.exe owns that X window, so
// ending it ends the desktop and every program in it.
#include <windows.h>

#include <vector>

namespace orvane {

// True under Wine when the desktop window has an X window of its own (a
// virtual desktop) and belongs to explorer.exe. Always false on Windows.
//
// The shell's start leaves such an explorer running; the way back to the
// standard shell must not start a second explorer.exe while this holds, as the
// one hosting the desktop is still there.
bool ExplorerHostsVirtualDesktop();

// Explorer's own "Shell_TrayWnd" windows (its notify-icon window and, where its
// taskbar is switched on, its taskbar) stand aside while the shell's tray runs
// beside them: they are hidden and put below the shell's tray, so that the
// notify-icon calls of programs, which go to the first window of that class,
// reach the shell. Those that were shown are shown again on destruction.
class TExplorerTrayStandIn {
  public:
    explicit TExplorerTrayStandIn(HWND ownTray);
    TExplorerTrayStandIn(const TExplorerTrayStandIn&) = delete;
    TExplorerTrayStandIn& operator=(const TExplorerTrayStandIn&) = delete;
    ~TExplorerTrayStandIn();

    // Explorer shows its notify-icon window again whenever one of its icons
    // changes, and may raise it: put it back behind the shell's tray.
    void Keep();
    // Explorer's windows that were shown when the shell came and are given back.
    size_t HiddenCount() const { return shown_.size(); }

  private:
    HWND ownTray_;
    std::vector<HWND> shown_;
};

} // namespace orvane
