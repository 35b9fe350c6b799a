#include "tray/Tray.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"
#include "system/ProgramStart.h"
#include "widgets/SkinPanel.h"
#include "tray/TrayIconImage.h"

#include <algorithm>
#include <exception>

namespace orvane {

namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";
constexpr wchar_t kTaskbarCreated[] = L"TaskbarCreated";
constexpr int kIconSize = 16;
constexpr int kIconTop = 3;
constexpr int kFirstIconLeft = 9;
constexpr int kIconPitch = 20;
constexpr int kPanelExtra = 14;
// The timer of the tray window that runs Present().
constexpr UINT_PTR kPresentTimer = 1;
// The thread that starts the registration commands needs little stack.
constexpr SIZE_T kRegistrationStack = 64 * 1024;
// A program flooding the tray with broken blocks would bury the log's
// other lines (and cost a file write per request).
constexpr int kMalformedLogLimit = 100;

TTray* currentTray = nullptr;

const char* const kRegistrationCommands[] = {
    "regsvr32 /i /s shell32.dll", "regsvr32 /s stobject.dll", "regsvr32 /s netshell.dll",
    "regsvr32 /s netcfgx.dll",    "regsvr32 /s netman.dll",
};

void ForwardFrom(TComponent& sender, UINT mouseMessage) {
    if (TTray* tray = Tray())
        if (auto* control = dynamic_cast<TTrayIconImage*>(&sender))
            tray->ForwardMouse(*control, mouseMessage);
}

UINT PressMessage(TMouseButton button) {
    switch (button) {
    case TMouseButton::Right:
        return WM_RBUTTONDOWN;
    case TMouseButton::Middle:
        return WM_MBUTTONDOWN;
    default:
        return WM_LBUTTONDOWN;
    }
}

UINT ReleaseMessage(TMouseButton button) {
    switch (button) {
    case TMouseButton::Right:
        return WM_RBUTTONUP;
    case TMouseButton::Middle:
        return WM_MBUTTONUP;
    default:
        return WM_LBUTTONUP;
    }
}

bool IsPress(UINT mouseMessage) {
    return mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN ||
           mouseMessage == WM_MBUTTONDOWN;
}

// A press on an icon is meant for its program: bring the program forward first.
void BringOwnerForward(HWND owner) {
    if (IsIconic(owner)) {
        ShowWindow(owner, SW_RESTORE);
        return;
    }
    SetForegroundWindow(owner);
    HWND popup = GetLastActivePopup(owner);
    if (popup && popup != owner && IsWindowVisible(popup) && IsWindowEnabled(popup))
        BringWindowToTop(popup);
    else
        BringWindowToTop(owner);
}

} // namespace

// Started one after another without waiting for any of them: each would
// keep the bar from showing until its program has registered itself.
std::function<void(const std::string& command)> TTray::RunCommand = [](const std::string& command) {
    LaunchProgram(command, SW_HIDE);
};

TTray* Tray() {
    return currentTray;
}

TTray::TTray(TSkinPanel& panel, std::function<void()> refreshTaskButtons,
             const std::function<void(HWND)>& beforeAnnounce)
    : panel_(panel), refreshTaskButtons_(std::move(refreshTaskButtons)) {
    LogFailure("TTray.Create", "length(TrayInfo) = " + std::to_string(trayInfo_.size()));
    StartRegistrations();
    RegisterTrayClass();
    CreateTrayWindow();
    AllowMessagesThroughFilter();
    currentTray = this;
    services_.StartAll();
    if (beforeAnnounce)
        beforeAnnounce(window_.get());
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(kTaskbarCreated), 0, 0);
}

TTray::~TTray() {
    WaitForRegistrations();
    services_.StopAll();
    if (presentPending_)
        KillTimer(window_.get(), kPresentTimer);
    window_.reset();
    if (currentTray == this)
        currentTray = nullptr;
}

void TTray::StartRegistrations() {
    if (!RunCommand)
        return;
    registrationRunner_ = RunCommand;
    // Under Wine each program start takes 30 to 80 ms until the new process
    // runs: five of them kept the bar from showing. They still start one
    // after another, in this order, and nothing waits for them.
    registrations_.reset(CreateThread(nullptr, kRegistrationStack, &TTray::RegistrationsMain, this,
                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!registrations_)
        RegistrationsMain(this);
}

DWORD WINAPI TTray::RegistrationsMain(void* tray) {
    for (const char* command : kRegistrationCommands)
        static_cast<TTray*>(tray)->registrationRunner_(command);
    return 0;
}

void TTray::WaitForRegistrations() {
    if (registrations_)
        WaitForSingleObject(registrations_.get(), INFINITE);
}

void TTray::RegisterTrayClass() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, kTrayClass, &existing)) {
        if (existing.lpfnWndProc == &TTray::TrayWindowProc)
            return;
        UnregisterClassW(kTrayClass, instance);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TTray::TrayWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kTrayClass;
    if (!RegisterClassW(&wc))
        ThrowLastError("TTray.Create: registering the tray window class");
}

void TTray::CreateTrayWindow() {
    window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        ThrowLastError("TTray.Create: creating the tray window");
}

void TTray::AllowMessagesThroughFilter() {
    // Since Vista a program of a lower integrity level may not send to us
    // unless the window lets the message through.
    using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto filter = user32 ? reinterpret_cast<FilterFunction>(
                               GetProcAddress(user32, "ChangeWindowMessageFilterEx"))
                         : nullptr;
    if (!filter)
        return;
    constexpr DWORD kAllow = 1; // MSGFLT_ALLOW
    filter(window_.get(), WM_COPYDATA, kAllow, nullptr);
    filter(window_.get(), RegisterWindowMessageW(kTaskbarCreated), kAllow, nullptr);
}

LRESULT CALLBACK TTray::TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPresentTimer && currentTray &&
        window == currentTray->Handle()) {
        currentTray->Present();
        return 0;
    }
    LRESULT reply = DefWindowProcW(window, message, wParam, lParam);
    if (message != WM_COPYDATA || !currentTray || window != currentTray->Handle())
        return reply;
    LRESULT handled = currentTray->HandleCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return handled ? handled : reply;
}

LRESULT TTray::HandleCopyData(const COPYDATASTRUCT* data) {
    LRESULT reply = 0;
    GuardedReport([&] { reply = HandleRequest(data); },
                  [this](const std::string& message) { LogMalformed(message); });
    return reply;
}

LRESULT TTray::HandleRequest(const COPYDATASTRUCT* data) {
    if (!data)
        throw ShellError("the request carries no COPYDATASTRUCT");
    TNotifyIconData request = DecodeNotifyRequest(*data);
    if (request.Id >= kFirstIgnoredId)
        return 0;
    if (!request.IconError.empty())
        LogMalformed(request.IconError);
    switch (request.Command) {
    case NIM_ADD:
        return NewTrayIcon(request) ? 1 : 0;
    case NIM_MODIFY:
        return ModifyTrayIcon(request) ? 1 : 0;
    case NIM_DELETE:
        return DeleteTrayIcon(request) ? 1 : 0;
    default:
        return 0;
    }
}

void TTray::LogMalformed(const std::string& message) {
    if (malformedLogged_ > kMalformedLogLimit)
        return;
    ++malformedLogged_;
    if (malformedLogged_ <= kMalformedLogLimit)
        LogFailure("TrayWindowProc", message);
    else
        LogFailure("TrayWindowProc", "further faulty requests are not logged");
}

int TTray::FindIcon(const TNotifyIconData& data) const {
    int found = -1;
    GuardedReport(
        [&] {
            HWND owner = data.Owner();
            for (size_t i = 0; i < trayInfo_.size() && found < 0; ++i)
                if (trayInfo_[i].Owner == owner && trayInfo_[i].Id == data.Id)
                    found = static_cast<int>(i);
        },
        [this](const std::string& message) {
            LogFailure("FindIcon", message + "; n: " + std::to_string(IconCount()));
        });
    return found;
}

bool TTray::NewTrayIcon(const TNotifyIconData& data) {
    if (data.OwnerValue == 0xFFFFFFFFu || FindIcon(data) >= 0 || !IsWindow(data.Owner()))
        return false;
    trayInfo_.push_back({nullptr, data.Owner(), data.Id, data.CallbackMessage, data.Tip,
                         PictureOf(data, "NewTrayIcon")});
    SchedulePresent();
    return true;
}

// A handle that is no icon shows as an empty place, as a null icon does.
std::optional<TIconPixels> TTray::PictureOf(const TNotifyIconData& data, const char* where) {
    if (data.IconPixels)
        return data.IconPixels;
    std::optional<TIconPixels> pixels;
    if (data.Icon)
        Guarded(where, FailurePolicy::LogAndContinue,
                [&] { pixels = IconPixelsFromHandle(data.Icon); });
    return pixels;
}

TTrayIconImage* TTray::NewIconControl(int index) {
    auto* control = NewComponent<TTrayIconImage>(&panel_);
    control->SetBounds(kFirstIconLeft + kIconPitch * index, kIconTop, kIconSize, kIconSize);
    control->SetAutoSize(false);
    control->SetStretch(true);
    control->SetTransparent(true);
    control->Tag = index;
    control->SetShowHint(true);
    control->OnMouseDown = [](TComponent& sender, TMouseButton button, TShiftState shift, int,
                              int) {
        // The left button's second press comes after its double click; the
        // other buttons' second press is a plain press.
        if (button == TMouseButton::Left && shift.Double)
            ForwardFrom(sender, WM_LBUTTONDBLCLK);
        ForwardFrom(sender, PressMessage(button));
    };
    control->OnMouseUp = [](TComponent& sender, TMouseButton button, TShiftState, int, int) {
        ForwardFrom(sender, ReleaseMessage(button));
    };
    control->OnMouseMove = [](TComponent& sender, TShiftState, int, int) {
        ForwardFrom(sender, WM_MOUSEMOVE);
    };
    control->SetParent(&panel_);
    if (!control->Handle()) {
        DWORD error = GetLastError();
        panel_.FreeComponent(control);
        throw ShellError("the icon control has no window: " + SystemErrorText(error));
    }
    return control;
}

bool TTray::ModifyTrayIcon(const TNotifyIconData& data) {
    int index = FindIcon(data);
    if (index < 0)
        return NewTrayIcon(data);
    TTrayIconRecord& record = trayInfo_[static_cast<size_t>(index)];
    if (data.Flags & NIF_ICON)
        record.Pixels = PictureOf(data, "ModifyTrayIcon");
    if (data.Flags & NIF_TIP)
        record.Tip = data.Tip;
    if (data.Flags & NIF_MESSAGE)
        record.CallbackMessage = data.CallbackMessage;
    SchedulePresent();
    return true;
}

bool TTray::DeleteTrayIcon(const TNotifyIconData& data) {
    int index = FindIcon(data);
    if (index < 0)
        return false;
    trayInfo_.erase(trayInfo_.begin() + index);
    removedSincePresent_ = true;
    SchedulePresent();
    return true;
}

void TTray::SchedulePresent() {
    if (presentPending_)
        return;
    // Without a timer the change shows at once rather than never.
    if (!window_ || !SetTimer(window_.get(), kPresentTimer, kPresentDelay, nullptr)) {
        Present();
        return;
    }
    presentPending_ = true;
}

// Controls keep their place and tag: what moves when an icon goes is the
// picture and the tip, and only those that differ are set.
void TTray::Present() {
    if (presentPending_ && window_)
        KillTimer(window_.get(), kPresentTimer);
    presentPending_ = false;
    Guarded("TTray.Present", FailurePolicy::LogAndContinue, [&] {
        while (controls_.size() < trayInfo_.size()) {
            TTrayIconImage* control = nullptr;
            if (!Guarded("NewTrayIcon", FailurePolicy::LogAndContinue,
                         [&] { control = NewIconControl(static_cast<int>(controls_.size())); })) {
                // Icons without a place are dropped, so the list always
                // matches the controls.
                trayInfo_.resize(controls_.size());
                break;
            }
            controls_.push_back(control);
        }
        while (controls_.size() > trayInfo_.size()) {
            TTrayIconImage* last = controls_.back();
            controls_.pop_back();
            panel_.FreeComponent(last);
        }
        for (size_t i = 0; i < trayInfo_.size(); ++i) {
            TTrayIconRecord& record = trayInfo_[i];
            TTrayIconImage& control = *controls_[i];
            record.Control = &control;
            if (control.IconPixels() != record.Pixels) {
                if (record.Pixels)
                    control.ShowPixels(*record.Pixels);
                else
                    control.ClearPicture();
            }
            control.SetTip(record.Tip);
        }
        FitPanel();
    });
    if (removedSincePresent_) {
        removedSincePresent_ = false;
        if (refreshTaskButtons_)
            Guarded("DeleteTrayIcon", FailurePolicy::LogAndContinue,
                    [&] { refreshTaskButtons_(); });
    }
}

void TTray::FitPanel() {
    const int width = kIconPitch * IconCount() + kPanelExtra;
    if (panel_.Width() != width)
        panel_.SetWidth(width);
}

void TTray::ForwardMouse(const TTrayIconImage& control, UINT mouseMessage) {
    // The record the control shows; none between a change and its Present().
    auto shown = std::find_if(trayInfo_.begin(), trayInfo_.end(),
                              [&](const TTrayIconRecord& r) { return r.Control == &control; });
    if (shown == trayInfo_.end())
        return;
    // Bringing the owner forward may let other requests in; the values are
    // taken first.
    const HWND owner = shown->Owner;
    const uint32_t id = shown->Id, callbackMessage = shown->CallbackMessage;
    if (IsPress(mouseMessage))
        BringOwnerForward(owner);
    PostMessageW(owner, callbackMessage, id, mouseMessage);
}

} // namespace orvane
