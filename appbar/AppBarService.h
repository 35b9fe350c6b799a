#pragma once
// The app-bar service: the hidden window of class "WineAppBar" that answers
// other programs' SHAppBarMessage calls (Wine's shell32 sends them there as
// WM_COPYDATA), keeps the bars and the work area they leave, tells the bars
// when their room changes and when a full-screen program comes and goes, and
// gives a dead bar's room back.
#include "appbar/AppBarLayout.h"
#include "appbar/AppBarRequest.h"
#include "appbar/FullScreen.h"
#include "base/Win32Handles.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvane {

// What the service needs of the system and of the shell's other windows,
// filled in by the shell's run. Empty members take the platform's.
struct TAppBarHost {
    // The monitors, the primary marked.
    std::function<std::vector<TMonitor>()> Monitors;
    // Sets the work area of the monitor that holds it.
    std::function<void(const RECT& workArea)> SetWorkArea;
    // The active window as the full-screen watch sees it.
    std::function<TActiveWindow()> ActiveWindow;
    // A full-screen program came (its window) or went (null).
    std::function<void(HWND fullScreen)> FullScreenChanged;
};

// The notices a bar gets through its callback message (wParam).
constexpr WPARAM kNoticePosChanged = ABN_POSCHANGED;
constexpr WPARAM kNoticeFullScreenApp = ABN_FULLSCREENAPP;

class TAppBarService {
  public:
    explicit TAppBarService(TAppBarHost host = {});
    TAppBarService(const TAppBarService&) = delete;
    TAppBarService& operator=(const TAppBarService&) = delete;
    ~TAppBarService();

    HWND Handle() const { return window_.get(); }
    const TAppBarLayout& Layout() const { return layout_; }

    // The shell's own bar: the first of the bars, docked at the bottom of the
    // primary monitor, taking `room` (screen coordinates) from the work area.
    // Its window answers ABM_GETTASKBARPOS.
    void AddShellBar(HWND bar, const RECT& room);

    // One request as the window answers it: the result, also written into the
    // sender's answer mapping when it names one.
    LRESULT HandleCopyData(const COPYDATASTRUCT* data);
    // The answer to a decoded request, without writing it anywhere.
    TAppBarAnswer Answer(const TAppBarRequest& request);

    // The service's look at the bars and the active window (its timer runs it
    // every kLookInterval ms): the room of bars whose window died goes back,
    // full-screen programs are noticed.
    void Look();
    static constexpr UINT kLookInterval = 250;

    HWND FullScreenWindow() const { return fullScreen_.Window(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateServiceWindow();
    std::vector<TMonitor> Monitors() const;
    // Sets the work area of every monitor whose area changed; true when one did.
    bool ApplyWorkAreas();
    // Tells the registered bars, all but `except`.
    void Notify(WPARAM notice, LPARAM lParam, HWND except);
    void RoomChanged(HWND except);
    void RemoveDeadBars();
    void WriteAnswer(const TAppBarRequest& request, const TAppBarAnswer& answer);
    // A request refused: one log line (up to a limit).
    void Refuse(const TAppBarRequest& request, const std::string& why);
    void LogRefusal(const std::string& message);

    TAppBarHost host_;
    TAppBarLayout layout_;
    HWND shellBar_ = nullptr;
    // The work area last set per monitor (by its bounds).
    std::map<std::vector<LONG>, RECT> applied_;
    TFullScreenWatch fullScreen_;
    UniqueWindow window_;
    int refusalsLogged_ = 0;
};

// The process's app-bar service; null when there is none.
TAppBarService* AppBarService();

} // namespace orvane
