#pragma once
// The taskbar: the shell's main window, a stay-on-top bar across the bottom of
// the screen with the start button, the quick-launch bar, the task buttons,
// the notification area and the clock. Creating it is the shell's start;
// closing it ends the shell.
#include "base/Log.h"
#include "toolkit/Form.h"
#include "winwatch/winwatch.h"

#include <functional>

#include <memory>
#include <string>

namespace orvane {

class TBarCoverWatch;
class TImageList;
class TOwnIcons;
class TSkinButton;
class TSkinPanel;
class TSkinToolBar;
class TTaskButtons;
class TExplorerTrayStandIn;
class TTimer;
class TTray;
class TWindowEventWatcher;
class TVirtualFolders;
class TfrmStart;

// Posted by a closing window of the shell: lParam the form to destroy.
constexpr UINT WM_RELEASEFORM = WM_USER + 101;

class TfrmTaskbar : public TForm {
    ORVANE_COMPONENT(TfrmTaskbar, TForm)
  public:
    // Without `runStart` only the controls are made: the bar as a window, for
    // tools and tests that must not take the system over.
    explicit TfrmTaskbar(TComponent* owner, bool runStart = true);
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

    // The run's work log; null when the start failed before opening it.
    std::unique_ptr<TLog> Log;
    std::string TimeFormat;
    bool ExplorerWasRunning = false;
    HWND LastActiveWindow() const;

    // The desktop window, once it exists: the clock keeps it shown.
    TForm* Desktop = nullptr;
    // The start panel, once it exists: the start button slides it in and out.
    TfrmStart* StartPanel = nullptr;
    // The Control Panel folders; null before the start made it or after close.
    std::unique_ptr<TVirtualFolders> VirtualFolders;

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
    void RunStart();
    bool LoadSkin();
    void StartWindowEventWatcher();
    void FormClose(TCloseAction& action);
    void FormPaint();
    void bbStartClick();
    void HookNotify(HWND window, LPARAM code);

    std::unique_ptr<TTaskButtons> taskButtons_;
    // The quick-launch entries' own icons, arriving after the bar is shown.
    std::unique_ptr<TOwnIcons> quickLaunchIcons_;
    std::unique_ptr<TTray> tray_;
    // Explorer's tray windows kept aside while explorer hosts the desktop.
    std::unique_ptr<TExplorerTrayStandIn> explorerTray_;
    std::unique_ptr<TWindowEventWatcher> windowWatcher_;
    std::unique_ptr<TBarCoverWatch> barCoverWatch_;
    TTimer* tmrWindowWatch_ = nullptr;
    bool runStart_;
    bool hooked_ = false;
};

// The shell's taskbar; null before it exists.
extern TfrmTaskbar* frmTaskbar;

} // namespace orvane
