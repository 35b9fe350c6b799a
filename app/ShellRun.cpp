#include "app/ShellRun.h"

#include "app/RunSteps.h"
#include "appbar/AppBarService.h"
#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "base/ShellError.h"
#include "desktop/DesktopForm.h"
#include "files/FilesForm.h"
#include "i18n/Languages.h"
#include "paint/Skin.h"
#include "settings/AboutForm.h"
#include "settings/SettingsForm.h"
#include "startpanel/StartPanel.h"
#include "startpanel/VirtualFolders.h"
#include "system/Autorun.h"
#include "system/DefaultShell.h"
#include "system/KillProcess.h"
#include "system/ProgramStart.h"
#include "system/VirtualDesktop.h"
#include "taskbar/ClockTick.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/TaskbarForm.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "tray/Tray.h"
#include "widgets/SkinButton.h"

namespace orvane {

namespace {

// Brings a window of the run forward; the start panel names the one it
// wanted when it is not there (yet).
void ShowForward(TForm* form, const char* name) {
    if (!form)
        throw ShellError(std::string("There is no window ") + name);
    form->Show();
    SetForegroundWindow(form->Handle());
}

} // namespace

TForm* OpenFileBrowser(TComponent* owner, const std::string& folder, const RECT& bounds) {
    auto* browser = CreateForm<TfrmFiles>(owner, "frmFiles");
    browser->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top);
    browser->Show();
    browser->OpenFolder(folder);
    return browser;
}

TShellRun::TShellRun(TApplication& application)
    : RestoreCaptionColors(orvane::RestoreCaptionColors), RestoreWorkArea(orvane::RestoreWorkArea),
      StartProgram(
          [](const std::string& command, int show) { return LaunchProgram(command, show); }),
      application_(application) {}

TShellRun::~TShellRun() {
    finishTimer_.reset();
    // The tray's icon controls live on the bar's notification panel: the tray
    // goes before the bar.
    tray_.reset();
    appBars_.reset();
    if (startPanel_)
        startPanel_->SetControlPanel(nullptr);
    controlPanel_.reset();
    for (TForm* form : {static_cast<TForm*>(settings_), static_cast<TForm*>(about_),
                        static_cast<TForm*>(startPanel_), static_cast<TForm*>(desktop_),
                        static_cast<TForm*>(taskbar_)})
        if (form)
            application_.FreeComponent(form);
    if (log_ && ShellLog() == log_.get())
        SetShellLog(nullptr);
}

TStartOutcome TShellRun::Start() {
    application_.SetTitle("Orvane Shell");
    OSPlatform = GetOSPlatform();
    LoadLanguage(false);

    CreateTaskbar();
    application_.SetMainForm(taskbar_);
    // The bar's start reports a failure of its own as "FormCreate: ...", the
    // name it has always had in the log.
    const bool tookOver =
        Guarded("FormCreate", FailurePolicy::LogAndContinue, [this] { TakeOver(); });
    if (!clockStarted_)
        return givenBack_ ? TStartOutcome::GivenBack : TStartOutcome::Failed;

    taskbar_->Show();
    if (!tookOver || skinMissing_) {
        // The application may already have been asked to end: the rest is
        // made at once, before the message loop looks at that.
        FinishStart();
        return TStartOutcome::Failed;
    }
    FinishStartSoon();
    return TStartOutcome::Started;
}

void TShellRun::FinishStartSoon() {
    // The bar is what the user waits for, and other programs wait for the
    // tray's answer to their icons: the windows that are still hidden, their
    // translation and the logon programs follow once the message loop has
    // drawn the bar and answered what was sent meanwhile (a timer's tick
    // comes after every other message).
    finishPending_ = true;
    finishTimer_ = std::make_unique<TTimer>(nullptr);
    finishTimer_->SetInterval(kFinishDelayMs);
    finishTimer_->OnTimer = [this](TComponent&) { FinishStart(); };
}

void TShellRun::FinishStart() {
    if (finished_)
        return;
    finished_ = true;
    finishPending_ = false;
    // Freeing the timer inside its own tick is safe: a tick for a gone timer
    // is dropped.
    finishTimer_.reset();
    // Only once the bar's part got as far as the tray, as it always was.
    if (tray_)
        Guarded("FormCreate", FailurePolicy::LogAndContinue,
                [this] { controlPanel_ = std::make_unique<TVirtualFolders>(); });
    CreateWindows();
    TranslateAllForms();
    Guarded("AutorunAll", FailurePolicy::LogAndContinue, [&] { AutorunAll(explorerWasRunning_); });
}

void TShellRun::CreateWindows() {
    CreateTaskbar();
    // Hidden at creation; the clock's next tick shows it beneath everything.
    desktop_ = CreateForm<TfrmDesktop>(&application_);
    startPanel_ = CreateForm<TfrmStart>(&application_, StartPanelHost());
    startPanel_->SetControlPanel(std::move(controlPanel_));
    about_ = CreateForm<TfrmAbout>(&application_);
    settings_ = CreateForm<TfrmSettings>(&application_, SettingsHost());
}

TfrmTaskbar* TShellRun::CreateTaskbar() {
    if (!taskbar_)
        taskbar_ = CreateForm<TfrmTaskbar>(&application_, TaskbarHost());
    return taskbar_;
}

void TShellRun::TakeOver() {
    // In a Wine virtual desktop explorer.exe owns the desktop: ending it would
    // end every program in it, the shell too. It stays, and the run counts as
    // one under explorer.
    const bool explorerHostsDesktop = ExplorerHostsVirtualDesktop();
    explorerWasRunning_ = explorerHostsDesktop || KillProcessByName("explorer.exe");
    const std::string logPath = LogFilePath();
    const bool unclean = LastRunWasUnclean(logPath);
    log_ = std::make_unique<TLog>(logPath);
    SetShellLog(log_.get());
    log_->Add("Program start");
    if (explorerHostsDesktop)
        log_->Add("Explorer hosts the virtual desktop: left running");

    if (unclean && !explorerWasRunning_) {
        int answer = application_.MessageBox(
            "Perhaps program has not finished correctly last time.\r\nDo restore standart shell?",
            "Warning", MB_OKCANCEL | MB_ICONWARNING);
        if (answer == IDOK) {
            SetDefaultShell("explorer.exe", true);
            orvane::StartProgram("explorer.exe", SW_HIDE);
            log_->Add("Work end");
            givenBack_ = true;
            return;
        }
    }

    // The only start step whose failure has a fixed line of its own.
    if (!Guarded("Help file", FailurePolicy::Silent, [this] {
            application_.SetHelpFile(ProgramFolder() + "\\Help\\Orvane-Shell.hlp");
        }))
        log_->Add("Help file assign error");

    if (explorerWasRunning_) {
        log_->Add("Run under explorer");
        RecolorCaptions();
    } else {
        log_->Add("Run on Windows start");
    }

    taskbar_->StartClock();
    clockStarted_ = true;
    SetDefaultShell(ExecutablePath(), true);
    HideMinimizedWindows();
    taskbar_->TimeFormat =
        IniFile::Config().ReadString("Taskbar", "TimeFormat", DefaultClockFormat());
    TakeWorkArea();

    taskbar_->AddExistingWindows();
    FitMaximizedWindows(taskbar_->TaskButtons().Windows());
    taskbar_->InstallShellHook();

    if (std::optional<std::string> folder = QuickLaunchFolder())
        taskbar_->LoadQuickLaunch(*folder);

    if (!LoadSkin())
        return;

    // The tray host and the app-bar service answer other programs from here
    // on; the Control Panel folders, which only the start panel uses, come
    // with the hidden windows (FinishStart).
    StartTray(explorerHostsDesktop);
    StartAppBars();
    taskbar_->WMDisplayChange();
}

bool TShellRun::LoadSkin() {
    if (Guarded("LoadSkin", FailurePolicy::Silent, [this] {
            CurrentSkin().LoadFromFile(ProgramFolder() + "\\Skins\\Orvane.skn");
            taskbar_->Invalidate();
        }))
        return true;
    // Without its skin the shell cannot draw itself: the start ends here.
    const std::string text = "Erron on load application. Cannot find skin file\r\n"
                             "Try to run application one time more or reinstall it.";
    skinMissing_ = true;
    log_->Add(text);
    application_.MessageBox(text, "Warning", MB_OK | MB_ICONWARNING);
    application_.Terminate();
    return false;
}

void TShellRun::StartTray(bool explorerHostsDesktop) {
    TfrmTaskbar* taskbar = taskbar_;
    tray_ = std::make_unique<TTray>(
        *taskbar->plSysTray, [taskbar] { taskbar->RefreshTaskButtons(); },
        [taskbar, explorerHostsDesktop](HWND trayWindow) {
            if (explorerHostsDesktop)
                taskbar->KeepExplorerTray(std::make_unique<TExplorerTrayStandIn>(trayWindow));
        });
}

void TShellRun::StartAppBars() {
    Guarded("TAppBarService", FailurePolicy::LogAndContinue, [this] {
        TAppBarHost host;
        host.FullScreenChanged = [this](HWND fullScreen) { FullScreenChanged(fullScreen); };
        appBars_ = std::make_unique<TAppBarService>(std::move(host));
        appBars_->AddShellBar(taskbar_->Handle(), TaskbarRoom());
    });
}

void TShellRun::FullScreenChanged(HWND fullScreen) {
    if (taskbar_)
        taskbar_->SetBelowFullScreen(fullScreen);
    if (startPanel_)
        startPanel_->SetBelowFullScreen(fullScreen);
}

void TShellRun::TaskbarClosed() {
    tray_.reset();
    appBars_.reset();
    if (startPanel_)
        startPanel_->SetControlPanel(nullptr);
    controlPanel_.reset();
    if (desktop_)
        desktop_->SaveLinks();
}

void TShellRun::ExitToExplorer() {
    // Failures are logged under the command the user chose, as they always
    // were. Once the bar is closed the user must still get explorer back, and
    // a stray failure must not keep the shell from ending.
    constexpr char kWhere[] = "TfrmStart.ExplorerItemClick";
    constexpr FailurePolicy kLog = FailurePolicy::LogAndContinue;
    Guarded(kWhere, kLog, [&] {
        if (taskbar_)
            IniFile::Config().WriteString("Taskbar", "TimeFormat", taskbar_->TimeFormat);
    });
    Guarded(kWhere, kLog, [&] { RestoreCaptionColors(); });
    Guarded(kWhere, kLog, [&] {
        if (OSPlatform == kPlatform9x)
            RestoreWorkArea();
    });
    Guarded(kWhere, kLog, [&] {
        if (taskbar_)
            taskbar_->Close();
    });
    Guarded(kWhere, kLog, [&] { SetDefaultShell("explorer.exe", true); });
    Guarded(kWhere, kLog, [&] {
        if (TLog* log = ShellLog())
            log->Add("Work end");
    });
    // In Wine's virtual desktop the explorer that hosts the desktop never
    // left; a second one would open a file browser window.
    Guarded(kWhere, kLog, [&] {
        if (!ExplorerHostsVirtualDesktop())
            StartProgram("explorer.exe", SW_HIDE);
    });
    CloseLog();
}

void TShellRun::EndOnConfigFailure() {
    // The shell cannot go on without its configuration file; the system gets
    // back what the start changed, and the bar closes as at any other end,
    // taking the tray and the Control Panel folders with it and saving the
    // desktop's links (the application ends with its main form).
    constexpr char kWhere[] = "TfrmSettings.Terminate";
    constexpr FailurePolicy kLog = FailurePolicy::LogAndContinue;
    Guarded(kWhere, kLog, [&] { RestoreCaptionColors(); });
    Guarded(kWhere, kLog, [&] { RestoreWorkArea(); });
    Guarded(kWhere, kLog, [&] {
        if (taskbar_)
            taskbar_->Close();
        else
            application_.Terminate();
    });
    // A close that failed half-way must not keep the shell running.
    if (taskbar_ && application_.MainForm() == taskbar_)
        application_.Terminate();
}

void TShellRun::CloseLog() {
    // Nothing is logged after this.
    SetShellLog(nullptr);
    log_.reset();
}

TTaskbarHost TShellRun::TaskbarHost() {
    TTaskbarHost host;
    host.StartButtonClick = [this] {
        // Pressed before the start has finished: the panel is made now.
        if (finishPending_)
            FinishStart();
        if (startPanel_)
            startPanel_->ToggleSlide();
    };
    host.Desktop = [this]() -> TForm* { return desktop_; };
    host.Closed = [this] { TaskbarClosed(); };
    return host;
}

TStartPanelHost TShellRun::StartPanelHost() {
    TStartPanelHost host;
    host.TaskbarHeight = taskbar_->Height();
    host.SectionGlyphs = taskbar_->ImageList1;
    host.StartButton = [this] { taskbar_->bbStart->Click(); };
    host.RaiseTaskbar = [this] { taskbar_->RaiseOnScreen(); };
    host.ShowSettings = [this] { ShowForward(settings_, "frmSettings"); };
    host.ShowAbout = [this] { ShowForward(about_, "frmAbout"); };
    host.OpenFileBrowser = [](TfrmStart& panel, const std::string& folder, const RECT& bounds) {
        return OpenFileBrowser(&panel, folder, bounds);
    };
    host.ExitToExplorer = [this] { ExitToExplorer(); };
    return host;
}

TSettingsHost TShellRun::SettingsHost() {
    TSettingsHost host;
    host.DesktopPicture = [this]() -> TPicture* {
        return desktop_ ? &desktop_->imgDesktop->Picture() : nullptr;
    };
    host.DesktopPictureChanged = [this] {
        if (desktop_)
            desktop_->PictureChanged();
    };
    host.InitGroupsMenu = [this] {
        if (startPanel_)
            startPanel_->InitGroupsMenu();
    };
    host.TimeFormat = [this] { return taskbar_->TimeFormat; };
    host.SetTimeFormat = [this](const std::string& format) { taskbar_->TimeFormat = format; };
    host.EndShell = [this] { EndOnConfigFailure(); };
    return host;
}

} // namespace orvane
