#include "tray/Tray.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"
#include "system/ProgramStart.h"
#include "widgets/SkinPanel.h"
#include "tray/TrayIconImage.h"

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

std::function<void(const std::string& command)> TTray::RunCommand = [](const std::string& command) {
    StartProgram(command, SW_HIDE);
};

TTray* Tray() {
    return currentTray;
}

TTray::TTray(TSkinPanel& panel, std::function<void()> refreshTaskButtons,
             const std::function<void(HWND)>& beforeAnnounce)
    : panel_(panel), refreshTaskButtons_(std::move(refreshTaskButtons)) {
    LogFailure("TTray.Create", "length(TrayInfo) = " + std::to_string(trayInfo_.size()));
    for (const char* command : kRegistrationCommands)
        if (RunCommand)
            RunCommand(command);
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
    services_.StopAll();
    window_.reset();
    if (currentTray == this)
        currentTray = nullptr;
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
    // The record is complete before anything can fail, so the list always
    // matches the controls.
    int index = IconCount();
    trayInfo_.push_back({nullptr, data.Owner(), data.Id, data.CallbackMessage});
    Guarded("NewTrayIcon", FailurePolicy::LogAndContinue, [&] {
        trayInfo_.back().Control = NewIconControl(index, data);
        FitPanel();
        ShowIconOrLog(*trayInfo_.back().Control, data, "NewTrayIcon");
    });
    if (!trayInfo_.back().Control) {
        trayInfo_.pop_back();
        return false;
    }
    return true;
}

TTrayIconImage* TTray::NewIconControl(int index, const TNotifyIconData& data) {
    auto* control = NewComponent<TTrayIconImage>(&panel_);
    control->SetBounds(kFirstIconLeft + kIconPitch * index, kIconTop, kIconSize, kIconSize);
    control->SetAutoSize(false);
    control->SetStretch(true);
    control->SetTransparent(true);
    control->Tag = index;
    control->SetTip(data.Tip);
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

void TTray::ShowIconOrLog(TTrayIconImage& control, const TNotifyIconData& data, const char* where) {
    Guarded(where, FailurePolicy::LogAndContinue, [&] {
        // A handle that is no icon shows as an empty place, as a null icon does.
        if (data.IconPixels)
            control.ShowPixels(*data.IconPixels);
        else
            control.ShowIcon(data.Icon);
    });
}

bool TTray::ModifyTrayIcon(const TNotifyIconData& data) {
    int index = FindIcon(data);
    if (index < 0)
        return NewTrayIcon(data);
    Guarded("ModifyTrayIcon", FailurePolicy::LogAndContinue, [&] {
        TTrayIconRecord& record = trayInfo_[static_cast<size_t>(index)];
        if (data.Flags & NIF_ICON)
            ShowIconOrLog(*record.Control, data, "ModifyTrayIcon");
        if (data.Flags & NIF_TIP)
            record.Control->SetTip(data.Tip);
        if (data.Flags & NIF_MESSAGE)
            record.CallbackMessage = data.CallbackMessage;
    });
    return true;
}

bool TTray::DeleteTrayIcon(const TNotifyIconData& data) {
    int index = FindIcon(data);
    if (index < 0)
        return false;
    Guarded("DeleteTrayIcon", FailurePolicy::LogAndContinue, [&] {
        // Controls keep their place and tag; what they show moves down one.
        for (size_t j = static_cast<size_t>(index); j + 1 < trayInfo_.size(); ++j) {
            TTrayIconRecord& to = trayInfo_[j];
            const TTrayIconRecord& from = trayInfo_[j + 1];
            to.Owner = from.Owner;
            to.Id = from.Id;
            to.CallbackMessage = from.CallbackMessage;
            to.Control->SetTip(from.Control->Hint());
            to.Control->CopyPictureFrom(*from.Control);
        }
        TTrayIconImage* last = trayInfo_.back().Control;
        trayInfo_.pop_back();
        panel_.FreeComponent(last);
        FitPanel();
        if (refreshTaskButtons_)
            refreshTaskButtons_();
    });
    return true;
}

void TTray::FitPanel() {
    panel_.SetWidth(kIconPitch * IconCount() + kPanelExtra);
}

void TTray::ForwardMouse(const TTrayIconImage& control, UINT mouseMessage) {
    auto index = static_cast<size_t>(control.Tag);
    if (control.Tag < 0 || index >= trayInfo_.size() || trayInfo_[index].Control != &control)
        return;
    // Bringing the owner forward may let other requests in; the values are
    // taken first.
    TTrayIconRecord record = trayInfo_[index];
    if (IsPress(mouseMessage))
        BringOwnerForward(record.Owner);
    PostMessageW(record.Owner, record.CallbackMessage, record.Id, mouseMessage);
}

} // namespace orvane
