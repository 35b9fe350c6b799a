#include "taskbar/TaskbarForm.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "desktop/DesktopForm.h"
#include "system/DefaultShell.h"
#include "system/IconLookup.h"
#include "system/KillProcess.h"
#include "system/ProgramStart.h"
#include "system/VirtualDesktop.h"
#include "base/Platform.h"
#include "toolkit/Application.h"
#include "widgets/ImageList.h"
#include "paint/Skin.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"
#include "widgets/SkinToolBar.h"
#include "toolkit/Timer.h"
#include "taskbar/BarStacking.h"
#include "taskbar/ClockTick.h"
#include "taskbar/QuickLaunch.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/TaskbarGlyphs.h"
#include "taskbar/TaskbarStart.h"
#include "taskbar/WindowEventWatcher.h"
#include "tray/Tray.h"
#include "startpanel/StartPanel.h"
#include "startpanel/VirtualFolders.h"

#include <exception>

namespace orvane {

TfrmTaskbar* frmTaskbar = nullptr;

namespace {

constexpr int kBarHeight = 30;
constexpr int kTabWidth = 86;
constexpr COLORREF kButtonFontColor = RGB(96, 129, 35);
constexpr UINT kTopMostFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING;
// Wine reports window events late or not at all; a tenth of a second keeps
// the buttons in step without costing much.
constexpr unsigned kWindowWatchInterval = 100;

template <typename T> T* Child(TComponent* owner, TControl* parent, const char* name) {
    T* control = NewComponent<T>(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}

TSkinPanel* TabPanel(TfrmTaskbar* form, const char* name, TAlign align) {
    auto* panel = Child<TSkinPanel>(form, form, name);
    panel->SetBevelOuter(TPanelBevel::Lowered);
    panel->SetSkinElement("panel");
    panel->SetBounds(0, 0, kTabWidth, kBarHeight);
    panel->SetAlign(align);
    return panel;
}

TSkinButton* TabButton(TfrmTaskbar* form, TSkinPanel* panel, const char* name) {
    auto* button = Child<TSkinButton>(form, panel, name);
    button->SetSkinElement("button");
    button->SetBounds(4, 3, 78, 21);
    button->SetUseSkinFont(false);
    button->Font.Name = "Arial";
    button->Font.Bold = true;
    button->Font.Color = kButtonFontColor;
    button->SetShowHint(true);
    return button;
}

// The skinned look of a panel whose bevel is an etched frame.
TSkinPanel* FramePanel(TComponent* owner, TControl* parent, const char* name) {
    auto* panel = Child<TSkinPanel>(owner, parent, name);
    panel->SetBevelOuter(TPanelBevel::Frame);
    return panel;
}

BOOL CALLBACK AddTaskButtonFor(HWND window, LPARAM taskbar) {
    reinterpret_cast<TfrmTaskbar*>(taskbar)->AddTaskButton(window);
    return TRUE;
}

} // namespace

TfrmTaskbar::TfrmTaskbar(TComponent* owner, bool runStart)
    : TForm(owner, "frmTaskbar"), runStart_(runStart) {
    SetCaption("TaskBar");
    SetBorderStyle(TBorderStyle::None);
    SetBorderIcons({false, false, false});
    SetFormStyle(TFormStyle::StayOnTop);
    HelpContext = 8;
    SetBounds(0, GetSystemMetrics(SM_CYSCREEN) - kBarHeight, GetSystemMetrics(SM_CXSCREEN),
              kBarHeight);
    frmTaskbar = this;
}

TfrmTaskbar::~TfrmTaskbar() {
    if (hooked_)
        RemoveShellHook();
    // The tray's icon controls live on plSysTray, which goes with the form.
    tray_.reset();
    if (ShellLog() == Log.get())
        SetShellLog(nullptr);
    if (frmTaskbar == this)
        frmTaskbar = nullptr;
}

HWND TfrmTaskbar::LastActiveWindow() const {
    return taskButtons_ ? taskButtons_->LastActiveWindow() : nullptr;
}

void TfrmTaskbar::AddTaskButton(HWND window) {
    taskButtons_->AddTaskButton(window);
}

void TfrmTaskbar::RefreshTaskButtons() {
    taskButtons_->RefreshTaskButtons();
}

void TfrmTaskbar::CreateControls() {
    ImageList1 = NewComponent<TImageList>(this);
    ImageList1->SetName("ImageList1");
    AddSectionChevrons(*ImageList1);

    plStart = TabPanel(this, "plStart", TAlign::Left);
    bbStart = TabButton(this, plStart, "bbStart");
    bbStart->SetCaption("Start");
    UniqueBitmap glyph = StartGlyph();
    bbStart->SetGlyph(glyph.get());
    bbStart->SetMargin(12);
    bbStart->SetSpacing(5);
    bbStart->OnClick = [this](TComponent&) { bbStartClick(); };

    plClock = TabPanel(this, "plClock", TAlign::Right);
    plClock->SetShowHint(true);
    btnClock = TabButton(this, plClock, "btnClock");

    Panel1 = FramePanel(this, this, "Panel1");
    Panel1->SetAlign(TAlign::Client);
    plEmpty = FramePanel(this, Panel1, "plEmpty");
    plEmpty->SetHeight(6);
    plEmpty->SetAlign(TAlign::Top);

    tbQuickBar = Child<TSkinToolBar>(this, Panel1, "tbQuickBar");
    tbQuickBar->SetSkinElement("resizetoolpanel");
    tbQuickBar->SetFlat(true);
    tbQuickBar->SetShowCaptions(false);
    tbQuickBar->SetShowHints(false);
    tbQuickBar->SetImages(ImageList1);
    tbQuickBar->SetButtonWidth(25);
    tbQuickBar->SetButtonHeight(25);
    tbQuickBar->SetWidth(80);
    tbQuickBar->SetAlign(TAlign::Left);

    plSysTray = FramePanel(this, Panel1, "plSysTray");
    plSysTray->SetWidth(18);
    plSysTray->SetAlign(TAlign::Right);

    tbApplButtons = Child<TSkinToolBar>(this, Panel1, "tbApplButtons");
    tbApplButtons->SetSkinElement("panel");
    tbApplButtons->SetShowCaptions(true);
    tbApplButtons->SetShowHints(true);
    tbApplButtons->SetImages(ImageList1);
    tbApplButtons->SetAlign(TAlign::Client);

    tmrClock = NewComponent<TTimer>(this);
    tmrClock->SetName("tmrClock");
    tmrClock->SetEnabled(false);
    tmrClock->SetInterval(500);
    tmrClock->OnTimer = [this](TComponent&) { tmrClockTimer(); };

    taskButtons_ = std::make_unique<TTaskButtons>(
        *tbApplButtons, Application() ? Application()->Handle() : nullptr);
    OnClose = [this](TForm&, TCloseAction& action) { FormClose(action); };
    OnPaint = [this](TComponent&) { FormPaint(); };
}

void TfrmTaskbar::FormCreate() {
    CreateControls();
    if (!runStart_)
        return;
    if (Application())
        Application()->SetMainForm(this);
    Guarded("FormCreate", FailurePolicy::LogAndContinue, [this] { RunStart(); });
}

void TfrmTaskbar::RunStart() {
    // In a Wine virtual desktop explorer.exe owns the desktop: ending it would
    // end every program in it, the shell too. It stays, and the run counts as
    // one under explorer.
    const bool explorerHostsDesktop = ExplorerHostsVirtualDesktop();
    ExplorerWasRunning = explorerHostsDesktop || KillProcessByName("explorer.exe");
    const std::string logPath = LogFilePath();
    const bool unclean = LastRunWasUnclean(logPath);
    Log = std::make_unique<TLog>(logPath);
    SetShellLog(Log.get());
    Log->Add("Program start");
    if (explorerHostsDesktop)
        Log->Add("Explorer hosts the virtual desktop: left running");

    if (unclean && !ExplorerWasRunning) {
        int answer = Application()->MessageBox(
            "Perhaps program has not finished correctly last time.\r\nDo restore standart shell?",
            "Warning", MB_OKCANCEL | MB_ICONWARNING);
        if (answer == IDOK) {
            SetDefaultShell("explorer.exe", true);
            StartProgram("explorer.exe", SW_HIDE);
            Log->Add("Work end");
            return;
        }
    }

    // The only start step whose failure has a fixed line of its own.
    if (!Guarded("Help file", FailurePolicy::Silent,
                 [] { Application()->SetHelpFile(ProgramFolder() + "\\Help\\Orvane-Shell.hlp"); }))
        Log->Add("Help file assign error");

    if (ExplorerWasRunning) {
        Log->Add("Run under explorer");
        RecolorCaptions();
    } else {
        Log->Add("Run on Windows start");
    }

    tmrClock->SetEnabled(true);
    SetDefaultShell(ExecutablePath(), true);
    HideMinimizedWindows();
    TimeFormat = IniFile::Config().ReadString("Taskbar", "TimeFormat", DefaultClockFormat());
    TakeWorkArea();

    EnumWindows(AddTaskButtonFor, reinterpret_cast<LPARAM>(this));
    FitMaximizedWindows(taskButtons_->Windows());

    hooked_ = SetShellHook(Handle()) != 0;
    if (RunningUnderWine())
        StartWindowEventWatcher();

    if (std::optional<std::string> folder = QuickLaunchFolder()) {
        quickLaunchIcons_ = std::make_unique<TOwnIcons>();
        LoadQuickLaunch(*tbQuickBar, *ImageList1, *folder, quickLaunchIcons_.get());
    }

    if (!LoadSkin())
        return;

    // The Control Panel folders object, then the tray host.
    VirtualFolders = std::make_unique<TVirtualFolders>();
    tray_ = std::make_unique<TTray>(
        *plSysTray, [this] { RefreshTaskButtons(); },
        [this, explorerHostsDesktop](HWND trayWindow) {
            if (explorerHostsDesktop)
                explorerTray_ = std::make_unique<TExplorerTrayStandIn>(trayWindow);
        });
    WMDisplayChange();
}

bool TfrmTaskbar::LoadSkin() {
    if (Guarded("LoadSkin", FailurePolicy::Silent, [this] {
            CurrentSkin().LoadFromFile(ProgramFolder() + "\\Skins\\Orvane.skn");
            Invalidate();
        }))
        return true;
    // Without its skin the shell cannot draw itself: the start ends here.
    const std::string text = "Erron on load application. Cannot find skin file\r\n"
                             "Try to run application one time more or reinstall it.";
    Log->Add(text);
    Application()->MessageBox(text, "Warning", MB_OK | MB_ICONWARNING);
    Application()->Terminate();
    return false;
}

void TfrmTaskbar::StartWindowEventWatcher() {
    windowWatcher_ = std::make_unique<TWindowEventWatcher>(
        [this](HWND window, LPARAM code) { HookNotify(window, code); },
        [this] { return taskButtons_->Windows(); });
    barCoverWatch_ = std::make_unique<TBarCoverWatch>(Handle());
    tmrWindowWatch_ = NewComponent<TTimer>(this);
    tmrWindowWatch_->SetName("tmrWindowWatch");
    tmrWindowWatch_->SetInterval(kWindowWatchInterval);
    tmrWindowWatch_->OnTimer = [this](TComponent&) {
        Guarded("TfrmTaskbar.WindowWatch", FailurePolicy::LogAndContinue, [this] {
            windowWatcher_->Tick();
            barCoverWatch_->Tick();
            taskButtons_->CheckIcons();
        });
    };
}

void TfrmTaskbar::WMDisplayChange() {
    if (Log)
        Log->Add("WMDisplayChange");
    const int width = GetSystemMetrics(SM_CXSCREEN);
    SetBounds(0, GetSystemMetrics(SM_CYSCREEN) - kBarHeight, width, kBarHeight);
    std::vector<POINT> outline =
        TaskbarOutline(plStart->Width(), plClock->Left(), plEmpty->Height(), Width());
    HRGN region = CreatePolygonRgn(outline.data(), static_cast<int>(outline.size()), WINDING);
    // The window owns the region from here on.
    if (region && !SetWindowRgn(Handle(), region, TRUE))
        DeleteObject(region);
    RefreshTaskButtons();
}

// Every tick keeps the desktop shown and the time current; at second 0 the
// bar is put on top again, over whatever took the top-most place meanwhile.
void TfrmTaskbar::tmrClockTimer() {
    if (Desktop && !Desktop->Visible()) {
        RefreshTaskButtons();
        Desktop->Show();
    }
    ShowClockTime(*btnClock, TimeFormat);
    if (explorerTray_)
        explorerTray_->Keep();
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond == 0)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

void TfrmTaskbar::bbStartClick() {
    Guarded("TfrmTaskbar.bbStartClick", FailurePolicy::LogAndContinue, [this] {
        if (Log)
            Log->AddOnce("Begin of first main panel showing");
        if (!StartPanel)
            return;
        // Anywhere but fully shown (hidden, or still moving) means slide in.
        if (StartPanel->Left() != 0) {
            StartPanel->trrShowStart->Tag = 1;
            StartPanel->trrShowStart->SetEnabled(true);
            StartPanel->Show();
        } else {
            StartPanel->trrShowStart->Tag = 2;
            StartPanel->trrShowStart->SetEnabled(true);
        }
    });
}

void TfrmTaskbar::FormClose(TCloseAction&) {
    if (hooked_)
        RemoveShellHook();
    hooked_ = false;
    if (tmrWindowWatch_)
        tmrWindowWatch_->SetEnabled(false);
    explorerTray_.reset();
    tray_.reset();
    VirtualFolders.reset();
    if (Desktop && Desktop->Is<TfrmDesktop>())
        static_cast<TfrmDesktop*>(Desktop)->SaveLinks();
}

void TfrmTaskbar::FormPaint() {
    if (Application())
        Application()->RestoreTopMosts();
}

void TfrmTaskbar::HookNotify(HWND window, LPARAM code) {
    Guarded("TfrmTaskbar.WMHookNotify", FailurePolicy::LogAndContinue,
            [&] { taskButtons_->HookNotify(window, code); });
}

LRESULT TfrmTaskbar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOOKNOTIFY:
        HookNotify(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_RELEASEFORM:
        // Only a live form other than the taskbar itself: lParam may come from
        // any program.
        if (TForm* form = TForm::FindLive(reinterpret_cast<const void*>(lParam));
            form && form != this && form->Owner())
            form->Owner()->FreeComponent(form);
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (position && position->hwndInsertAfter)
            SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopMostFlags);
        break;
    }
    case WM_DISPLAYCHANGE:
        Guarded("TfrmTaskbar.WMDisplayChange", FailurePolicy::LogAndContinue,
                [this] { WMDisplayChange(); });
        break;
    case WM_QUERYENDSESSION: {
        LRESULT answer = TForm::WndProc(message, wParam, lParam);
        Close();
        return answer;
    }
    default:
        break;
    }
    return TForm::WndProc(message, wParam, lParam);
}

} // namespace orvane
