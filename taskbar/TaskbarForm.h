#pragma once
// The taskbar: the shell's main window, a stay-on-top bar across the bottom of
// the screen with the start button, the quick-launch bar, the task buttons,
// the notification area and the clock. The shell's run (app/ShellRun.h)
// makes it first and drives the start through its operations; closing it
// ends the shell.
#include "toolkit/Form.h"

#include <functional>
#include <memory>
#include <string>

namespace orvane {

class TBarCoverWatch;
class TExplorerTrayStandIn;
class TImageList;
class TOwnIcons;
class TSkinButton;
class TSkinPanel;
class TSkinToolBar;
class TTaskButtons;
class TTimer;
class TWindowEventWatcher;

// What the bar needs of the other windows, filled in by the shell's run.
struct TTaskbarHost {
    // The start button's press: the start panel slides in or out.
    std::function<void()> StartButtonClick;
    // The desktop window, which the clock keeps shown; null while there is
    // none.
    std::function<TForm*()> Desktop;
    // The bar has closed and taken its shell hook away: what lives beside it
    // goes, and what the next run needs is saved.
    std::function<void()> Closed;
};

class TfrmTaskbar : public TForm {
    ORVANE_COMPONENT(TfrmTaskbar, TForm)
  public:
    // Makes the bar's controls only: taking the system over is the run's.
    explicit TfrmTaskbar(TComponent* owner, TTaskbarHost host = {});
    ~TfrmTaskbar() override;

    TSkinPanel* plStart = nullptr;
    TSkinButton* bbStart = nullptr;
    TSkinPanel* plClock = nullptr;
    TSkinButton* btnClock = nullptr;
    TSkinPanel* Panel1 = nullptr;
    TSkinPanel* plEmpty = nullptr;
    TSkinToolBar* tbQuickBar = nullptr;
    TSkinToolBar* tbApplButtons = nullptr;
    TSkinPanel* plSysTray = nullptr;
    TTimer* tmrClock = nullptr;
    TImageList* ImageList1 = nullptr;

    // The clock's pattern (taskbar/ClockFormat.h).
    std::string TimeFormat;
    HWND LastActiveWindow() const;

    // The start's steps that are the bar's own, in the order the run takes
    // them. The clock ticks from here on.
    void StartClock();
    // A task button for every window already open.
    void AddExistingWindows();
    // Window events from every program reach the bar from here on. False
    // when the hook library could not hook.
    bool InstallShellHook();
    void LoadQuickLaunch(const std::string& folder);
    // While explorer hosts a Wine virtual desktop its tray windows are kept
    // below the bar at every clock tick, until the bar closes.
    void KeepExplorerTray(std::unique_ptr<TExplorerTrayStandIn> standIn);

    // Puts the bar first in the Z order and on the screen, over the other
    // stay-on-top windows of the shell. Not while a full-screen program is
    // active.
    void RaiseOnScreen();
    // A full-screen program is active (its window) or none is (null): the
    // bar leaves the top-most windows and lies below it, or comes back on top.
    void SetBelowFullScreen(HWND fullScreen);
    bool KeepsOnTop() const;

    void AddTaskButton(HWND window);
    void RefreshTaskButtons();
    TTaskButtons& TaskButtons() { return *taskButtons_; }

    void WMDisplayChange();
    void tmrClockTimer();

  protected:
    void FormCreate() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void CreateControls();
    void WireEvents();
    void StartWindowEventWatcher();
    void FormClose(TCloseAction& action);
    void FormPaint();
    void bbStartClick();
    void HookNotify(HWND window, LPARAM code);

    TTaskbarHost host_;
    std::unique_ptr<TTaskButtons> taskButtons_;
    // The quick-launch entries' own icons, arriving after the bar is shown.
    std::unique_ptr<TOwnIcons> quickLaunchIcons_;
    std::unique_ptr<TExplorerTrayStandIn> explorerTray_;
    std::unique_ptr<TWindowEventWatcher> windowWatcher_;
    std::unique_ptr<TBarCoverWatch> barCoverWatch_;
    TTimer* tmrWindowWatch_ = nullptr;
    bool hooked_ = false;
};

} // namespace orvane
