#pragma once
// The notification area: the hidden "Shell_TrayWnd" window that takes the
// notify-icon requests of other programs, the list of their icons, the icon
// controls in the taskbar's notification panel and the forwarding of mouse
// events to the icons' owners.
#include "base/Win32Handles.h"
#include "tray/IconPixels.h"
#include "tray/NotifyRequest.h"
#include "tray/ShellServiceObjects.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class TSkinPanel;
class TTrayIconImage;

// One icon of the tray. Control shows it from the next Present() on (null
// until then); Tip and Pixels are what the control is to show.
struct TTrayIconRecord {
    TTrayIconImage* Control = nullptr;
    HWND Owner = nullptr;
    uint32_t Id = 0;
    uint32_t CallbackMessage = 0;
    std::string Tip;
    std::optional<TIconPixels> Pixels;
};

class TTray {
  public:
    // panel: the taskbar's notification panel; refreshTaskButtons lays the task
    // buttons out anew (called after a delete, when the panel gave room back).
    // beforeAnnounce, when given, gets the tray window before "TaskbarCreated"
    // goes out, so that the programs adding their icons again find it first.
    TTray(TSkinPanel& panel, std::function<void()> refreshTaskButtons,
          const std::function<void(HWND)>& beforeAnnounce = {});
    TTray(const TTray&) = delete;
    TTray& operator=(const TTray&) = delete;
    // Closes the service objects and destroys the tray window. The icon
    // controls stay with the panel; they go when the panel goes.
    ~TTray();

    HWND Handle() const { return window_.get(); }
    int IconCount() const { return static_cast<int>(trayInfo_.size()); }
    const std::vector<TTrayIconRecord>& TrayInfo() const { return trayInfo_; }
    size_t ServiceObjectCount() const { return services_.Count(); }

    // Index of the icon of the request's owner and id, or -1.
    int FindIcon(const TNotifyIconData& data) const;
    bool NewTrayIcon(const TNotifyIconData& data);
    bool ModifyTrayIcon(const TNotifyIconData& data);
    bool DeleteTrayIcon(const TNotifyIconData& data);

    // One WM_COPYDATA request as the tray window answers it: 1 or 0.
    LRESULT HandleCopyData(const COPYDATASTRUCT* data);

    // Brings the icon controls, the panel's width and the task buttons up to
    // the records. A request changes the records only and answers at once;
    // this runs by itself kPresentDelay ms after the first change, so a burst
    // of requests (a program adding its icons, a flood) costs one layout.
    void Present();
    bool PresentPending() const { return presentPending_; }
    static constexpr UINT kPresentDelay = 15;

    // A mouse message on an icon control, passed on to the icon's owner.
    void ForwardMouse(const TTrayIconImage& control, UINT mouseMessage);

    // How the registration commands at creation are started, one after
    // another on a thread of their own; the default is LaunchProgram with
    // SW_HIDE (no wait). Tests record them instead.
    static std::function<void(const std::string& command)> RunCommand;
    // Until every registration command has been started.
    void WaitForRegistrations();

  private:
    static LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleRequest(const COPYDATASTRUCT* data);
    void StartRegistrations();
    static DWORD WINAPI RegistrationsMain(void* tray);
    void RegisterTrayClass();
    void CreateTrayWindow();
    void AllowMessagesThroughFilter();
    TTrayIconImage* NewIconControl(int index);
    std::optional<TIconPixels> PictureOf(const TNotifyIconData& data, const char* where);
    void SchedulePresent();
    void FitPanel();
    void LogMalformed(const std::string& message);

    TSkinPanel& panel_;
    std::function<void()> refreshTaskButtons_;
    std::vector<TTrayIconRecord> trayInfo_;
    // The panel's icon controls, in place order; as many as the records
    // after Present().
    std::vector<TTrayIconImage*> controls_;
    bool presentPending_ = false;
    bool removedSincePresent_ = false;
    UniqueWindow window_;
    TShellServiceObjects services_;
    int malformedLogged_ = 0;
    std::function<void(const std::string& command)> registrationRunner_;
    UniqueHandle registrations_;
};

// The process's tray; null when there is none.
TTray* Tray();

} // namespace orvane
