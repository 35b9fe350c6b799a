#include "taskbar/TaskbarForm.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "system/IconLookup.h"
#include "system/VirtualDesktop.h"
#include "taskbar/BarStacking.h"
#include "taskbar/ClockTick.h"
#include "taskbar/QuickLaunch.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/TaskbarGlyphs.h"
#include "taskbar/WindowEventWatcher.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "widgets/ImageList.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"
#include "widgets/SkinToolBar.h"
#include "winwatch/winwatch.h"

#include <vector>

namespace orvane {

namespace {

constexpr int kBarHeight = 30;
constexpr int kTabWidth = 86;
constexpr COLORREF kButtonFontColor = RGB(96, 129, 35);
constexpr UINT kTopMostFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING;
// Wine reports window events late or not at all; a tenth of a second keeps
// the buttons in step without costing much.
constexpr unsigned kWindowWatchInterval = 100;

TSkinPanel* TabPanel(TfrmTaskbar* form, const char* name, TAlign align) {
    auto* panel = NewChild<TSkinPanel>(form, form, name);
    panel->SetBevelOuter(TPanelBevel::Lowered);
    panel->SetSkinElement("panel");
    panel->SetBounds(0, 0, kTabWidth, kBarHeight);
    panel->SetAlign(align);
    return panel;
}

TSkinButton* TabButton(TfrmTaskbar* form, TSkinPanel* panel, const char* name) {
    auto* button = NewChild<TSkinButton>(form, panel, name);
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
    auto* panel = NewChild<TSkinPanel>(owner, parent, name);
    panel->SetBevelOuter(TPanelBevel::Frame);
    return panel;
}

// The outline of the bar: raised tabs over the start button and the clock, the
// middle lowered by the empty strip.
std::vector<POINT> TaskbarOutline(int startWidth, int clockLeft, int emptyHeight, int width) {
    const int s = startWidth, c = clockLeft, e = emptyHeight, height = kBarHeight;
    return {{0, 0},      {s + 24, 0}, {s + 30, 6}, {s + 30, e + 1}, {c - 30, e + 1},
            {c - 30, 6}, {c - 24, 0}, {width, 0},  {width, height}, {0, height}};
}

BOOL CALLBACK AddTaskButtonFor(HWND window, LPARAM taskbar) {
    reinterpret_cast<TfrmTaskbar*>(taskbar)->AddTaskButton(window);
    return TRUE;
}

} // namespace

TfrmTaskbar::TfrmTaskbar(TComponent* owner, TTaskbarHost host)
    : TForm(owner, "frmTaskbar"), host_(std::move(host)) {
    SetCaption("TaskBar");
    SetBorderStyle(TBorderStyle::None);
    SetBorderIcons({false, false, false});
    SetFormStyle(TFormStyle::StayOnTop);
    HelpContext = 8;
    SetBounds(0, GetSystemMetrics(SM_CYSCREEN) - kBarHeight, GetSystemMetrics(SM_CXSCREEN),
              kBarHeight);
}

TfrmTaskbar::~TfrmTaskbar() {
    if (hooked_)
        RemoveShellHook();
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

    plClock = TabPanel(this, "plClock", TAlign::Right);
    plClock->SetShowHint(true);
    btnClock = TabButton(this, plClock, "btnClock");

    Panel1 = FramePanel(this, this, "Panel1");
    Panel1->SetAlign(TAlign::Client);
    plEmpty = FramePanel(this, Panel1, "plEmpty");
    plEmpty->SetHeight(6);
    plEmpty->SetAlign(TAlign::Top);

    tbQuickBar = NewChild<TSkinToolBar>(this, Panel1, "tbQuickBar");
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

    tbApplButtons = NewChild<TSkinToolBar>(this, Panel1, "tbApplButtons");
    tbApplButtons->SetSkinElement("panel");
    tbApplButtons->SetShowCaptions(true);
    tbApplButtons->SetShowHints(true);
    tbApplButtons->SetImages(ImageList1);
    tbApplButtons->SetAlign(TAlign::Client);

    tmrClock = NewComponent<TTimer>(this);
    tmrClock->SetName("tmrClock");
    tmrClock->SetEnabled(false);
    tmrClock->SetInterval(500);
    // Runs under Wine only (StartWindowEventWatcher).
    tmrWindowWatch_ = NewComponent<TTimer>(this);
    tmrWindowWatch_->SetName("tmrWindowWatch");
    tmrWindowWatch_->SetEnabled(false);
    tmrWindowWatch_->SetInterval(kWindowWatchInterval);

    taskButtons_ = std::make_unique<TTaskButtons>(
        *tbApplButtons, Application() ? Application()->Handle() : nullptr);
}

void TfrmTaskbar::WireEvents() {
    bbStart->OnClick = [this](TComponent&) { bbStartClick(); };
    tmrClock->OnTimer = [this](TComponent&) { tmrClockTimer(); };
    tmrWindowWatch_->OnTimer = [this](TComponent&) {
        Guarded("TfrmTaskbar.WindowWatch", FailurePolicy::LogAndContinue, [this] {
            if (windowWatcher_)
                windowWatcher_->Tick();
            if (barCoverWatch_ && KeepsOnTop())
                barCoverWatch_->Tick();
            taskButtons_->CheckIcons();
        });
    };
    OnClose = [this](TForm&, TCloseAction& action) { FormClose(action); };
    OnPaint = [this](TComponent&) { FormPaint(); };
}

void TfrmTaskbar::FormCreate() {
    CreateControls();
    WireEvents();
}

void TfrmTaskbar::StartClock() {
    tmrClock->SetEnabled(true);
}

void TfrmTaskbar::AddExistingWindows() {
    EnumWindows(AddTaskButtonFor, reinterpret_cast<LPARAM>(this));
    taskButtons_->RefreshTaskButtons();
}

bool TfrmTaskbar::InstallShellHook() {
    hooked_ = SetShellHook(Handle()) != 0;
    if (RunningUnderWine())
        StartWindowEventWatcher();
    return hooked_;
}

void TfrmTaskbar::LoadQuickLaunch(const std::string& folder) {
    quickLaunchIcons_ = std::make_unique<TOwnIcons>();
    orvane::LoadQuickLaunch(*tbQuickBar, *ImageList1, folder, quickLaunchIcons_.get());
}

void TfrmTaskbar::KeepExplorerTray(std::unique_ptr<TExplorerTrayStandIn> standIn) {
    explorerTray_ = std::move(standIn);
}

void TfrmTaskbar::StartWindowEventWatcher() {
    windowWatcher_ = std::make_unique<TWindowEventWatcher>(
        [this](HWND window, LPARAM code) { HookNotify(window, code); },
        [this] { return taskButtons_->Windows(); });
    barCoverWatch_ = std::make_unique<TBarCoverWatch>(Handle());
    tmrWindowWatch_->SetEnabled(true);
}

void TfrmTaskbar::WMDisplayChange() {
    if (TLog* log = ShellLog())
        log->Add("WMDisplayChange");
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
    TForm* desktop = host_.Desktop ? host_.Desktop() : nullptr;
    if (desktop && !desktop->Visible()) {
        RefreshTaskButtons();
        desktop->Show();
        // The desktop's window, mapped after the bar's, lands above it on the
        // X display although the bar stays top-most for the system.
        RaiseOnScreen();
    }
    ShowClockTime(*btnClock, TimeFormat);
    if (explorerTray_)
        explorerTray_->Keep();
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond == 0 && KeepsOnTop())
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kTopMostFlags);
}

void TfrmTaskbar::RaiseOnScreen() {
    if (Handle() && Visible() && KeepsOnTop())
        RaiseBarOnScreen(Handle());
}

bool TfrmTaskbar::KeepsOnTop() const {
    return FormStyle() == TFormStyle::StayOnTop;
}

void TfrmTaskbar::SetBelowFullScreen(HWND fullScreen) {
    if (!fullScreen) {
        SetFormStyle(TFormStyle::StayOnTop);
        RaiseOnScreen();
        return;
    }
    SetFormStyle(TFormStyle::Normal);
    SetWindowPos(Handle(), fullScreen, 0, 0, 0, 0, kTopMostFlags);
}

void TfrmTaskbar::bbStartClick() {
    Guarded("TfrmTaskbar.bbStartClick", FailurePolicy::LogAndContinue, [this] {
        if (TLog* log = ShellLog())
            log->AddOnce("Begin of first main panel showing");
        if (host_.StartButtonClick)
            host_.StartButtonClick();
    });
}

// The shell hook goes first, so that no window event arrives while the rest
// is taken down; the tray, the Control Panel folders and the desktop's links
// are the run's to close (host_.Closed).
void TfrmTaskbar::FormClose(TCloseAction&) {
    if (hooked_)
        RemoveShellHook();
    hooked_ = false;
    tmrWindowWatch_->SetEnabled(false);
    explorerTray_.reset();
    if (host_.Closed)
        host_.Closed();
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
        // The answer carries nothing: the program that raised the event goes
        // on at once instead of waiting while its button is made.
        if (InSendMessage())
            ReplyMessage(0);
        HookNotify(reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (position && position->hwndInsertAfter && KeepsOnTop())
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
