#pragma once
// The shell's run: the start, the windows it makes and how they reach one
// another, and the end back to explorer. The program entry makes one run and
// starts it; the windows know nothing of each other, only the small hosts the
// run fills in for them (TTaskbarHost, TStartPanelHost, TSettingsHost).
// docs/ARCHITECTURE.md ("The shell's run") has both sequences step by step.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace orvane {

class TAppBarService;
class TApplication;
class TComponent;
class TForm;
class TfrmAbout;
class TfrmDesktop;
class TfrmSettings;
class TfrmStart;
class TfrmTaskbar;
class TLog;
class TTimer;
class TTray;
class TVirtualFolders;
struct TSettingsHost;
struct TStartPanelHost;
struct TTaskbarHost;

// How the start ended.
enum class TStartOutcome {
    // The clock runs, the other windows exist and the logon programs were
    // started: the message loop runs until the bar closes.
    Started,
    // The user gave the session back to explorer after an unclean last run:
    // the taskbar is the only window and the program ends at once.
    GivenBack,
    // A step of the start failed. Before the clock started, the taskbar is
    // the only window and the program ends at once; a skin that did not load
    // has asked the application to end after the other windows were made.
    Failed,
};

// The program's exit code for a start's outcome: kExitFailedStart for a
// failed start, else kExitNormal.
constexpr int kExitNormal = 0;
constexpr int kExitFailedStart = 1;
constexpr int ExitCodeOf(TStartOutcome outcome) {
    return outcome == TStartOutcome::Failed ? kExitFailedStart : kExitNormal;
}

class TShellRun {
  public:
    explicit TShellRun(TApplication& application);
    // Frees the windows of the run, the newest first, and what lives beside
    // them (the tray, the Control Panel folders).
    ~TShellRun();
    TShellRun(const TShellRun&) = delete;
    TShellRun& operator=(const TShellRun&) = delete;

    // The start: the application's title, the platform, the language, the
    // taskbar and its part of the start (ending explorer, the work log, the
    // system settings, the task buttons, the hook, the quick-launch bar, the
    // skin, the tray), the bar shown; then the Control Panel folders, the
    // desktop, the start panel, the about box and the settings dialog, one
    // translation of them all and the logon programs. After a normal start
    // that second part runs from the message loop, as soon as the loop has
    // drawn the bar and answered the messages waiting (FinishPending() until
    // then); after a failed one it has run when Start returns.
    TStartOutcome Start();
    // The second part of the start has not run yet.
    bool FinishPending() const { return finishPending_; }
    // Runs it now, once (also what the start button does when pressed
    // before): the Control Panel folders when the tray was made, the
    // windows, the translation, the logon programs.
    void FinishStart();
    // Leaves it to the message loop: the way Start ends a normal start.
    void FinishStartSoon();

    // The way back to explorer (the start panel's Explorer command): puts
    // back what the start changed, closes the taskbar, makes explorer.exe the
    // logon shell again, writes "Work end", starts explorer.exe and closes
    // the work log. Each step runs on when an earlier one fails.
    void ExitToExplorer();

    // The taskbar alone, with the run's wiring and none of the start: for
    // tests of the end. Start makes it itself.
    TfrmTaskbar* CreateTaskbar();
    // The windows beside the bar, wired to it and to each other, in the
    // start's order: the desktop, the start panel (handed the Control Panel
    // folders, when the start made them), the about box, the settings
    // dialog. Makes the bar first when there is none; Start calls it once the
    // bar's part has succeeded.
    void CreateWindows();

    TfrmTaskbar* Taskbar() const { return taskbar_; }
    TfrmDesktop* Desktop() const { return desktop_; }
    TfrmStart* StartPanel() const { return startPanel_; }
    TfrmAbout* About() const { return about_; }
    TfrmSettings* Settings() const { return settings_; }
    bool ExplorerWasRunning() const { return explorerWasRunning_; }
    // The start got as far as the clock: the windows exist.
    bool ClockStarted() const { return clockStarted_; }

    // The steps of the end that reach outside the program; tests record
    // them instead.
    std::function<void()> RestoreCaptionColors;
    std::function<void()> RestoreWorkArea;
    std::function<bool(const std::string& command, int show)> StartProgram;

  private:
    // How long after the bar is shown the second part of the start may run
    // at the earliest; the loop's other messages go first.
    static constexpr unsigned kFinishDelayMs = 1;
    // The taskbar's part of the start, under one error boundary.
    void TakeOver();
    bool LoadSkin();
    void StartTray(bool explorerHostsDesktop);
    // The app-bar service, with the bar as the first of the bars; a failure
    // leaves the shell without it.
    void StartAppBars();
    void FullScreenChanged(HWND fullScreen);
    // The bar's close: what lives beside it goes, the desktop's links are
    // saved.
    void TaskbarClosed();
    // The settings dialog found the configuration file unusable: the
    // caption colours and the work area are put back, the bar closes.
    void EndOnConfigFailure();
    void CloseLog();

    TTaskbarHost TaskbarHost();
    TStartPanelHost StartPanelHost();
    TSettingsHost SettingsHost();

    TApplication& application_;
    std::unique_ptr<TLog> log_;
    bool explorerWasRunning_ = false;
    bool clockStarted_ = false;
    bool givenBack_ = false;
    bool skinMissing_ = false;
    bool finishPending_ = false;
    bool finished_ = false;
    std::unique_ptr<TTimer> finishTimer_;
    std::unique_ptr<TTray> tray_;
    std::unique_ptr<TAppBarService> appBars_;
    // Made by the start, handed to the start panel once it exists.
    std::unique_ptr<TVirtualFolders> controlPanel_;
    TfrmTaskbar* taskbar_ = nullptr;
    TfrmDesktop* desktop_ = nullptr;
    TfrmStart* startPanel_ = nullptr;
    TfrmAbout* about_ = nullptr;
    TfrmSettings* settings_ = nullptr;
};

// A new file browser window owned by `owner`, placed at `bounds` (screen
// coordinates) and showing `folder`: what the start panel's Files section opens.
TForm* OpenFileBrowser(TComponent* owner, const std::string& folder, const RECT& bounds);

} // namespace orvane
