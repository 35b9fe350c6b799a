#include "taskbar/TaskbarWindow.h"

#include "shell/Config.h"
#include "shell/DefaultShell.h"
#include "shell/KillProcess.h"
#include "skin/Application.h"
#include "winwatch/winwatch.h"

#include <exception>

namespace orvane {

namespace {

constexpr char kClassName[] = "TfrmTaskbar";
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockInterval = 500;
constexpr int kBarHeight = 30;
constexpr COLORREF kBarFace = RGB(110, 139, 61);
constexpr COLORREF kBarText = RGB(255, 255, 255);

void RegisterTaskbarClass() {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA; // replaced per window once created
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
}

} // namespace

TfrmTaskbar::TfrmTaskbar() {
    RegisterTaskbarClass();
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND owner = Application() ? Application()->Handle() : nullptr;
    handle_ =
        CreateWindowExA(WS_EX_TOPMOST, kClassName, "TaskBar", WS_POPUP, 0, height - kBarHeight,
                        width, kBarHeight, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!handle_)
        return;
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TfrmTaskbar::WindowProc));
    if (Application())
        Application()->SetMainWindow(handle_);
    FormCreate();
    ShowWindow(handle_, SW_SHOWNOACTIVATE);
}

TfrmTaskbar::~TfrmTaskbar() {
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    if (ShellLog() == log_.get())
        SetShellLog(nullptr);
}

void TfrmTaskbar::EnableClock() {
    clockEnabled_ = SetTimer(handle_, kClockTimer, kClockInterval, nullptr) != 0;
}

void TfrmTaskbar::FormCreate() {
    try {
        explorerWasRunning_ = KillProcessByName("explorer.exe");
        log_ = std::make_unique<TLog>(LogFilePath());
        SetShellLog(log_.get());
        log_->Add("Program start");
        log_->Add(explorerWasRunning_ ? "Run under explorer" : "Run on Windows start");
        EnableClock();
        SetDefaultShell(ExecutablePath(), true);
        hooked_ = SetShellHook(handle_) != 0;
    } catch (const std::exception& error) {
        LogFailure("FormCreate", error.what());
    }
}

void TfrmTaskbar::FormClose() {
    if (hooked_)
        RemoveShellHook();
    hooked_ = false;
}

void TfrmTaskbar::FormPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    RECT client;
    GetClientRect(handle_, &client);
    HBRUSH face = CreateSolidBrush(kBarFace);
    FillRect(dc, &client, face);
    DeleteObject(face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBarText);
    DrawTextA(dc, " Orvane Shell", -1, &client, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    EndPaint(handle_, &ps);
}

LRESULT CALLBACK TfrmTaskbar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TfrmTaskbar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        LogFailure("TfrmTaskbar", error.what());
        return 0;
    }
}

LRESULT TfrmTaskbar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOOKNOTIFY:
        return 0; // task buttons come with the taskbar proper
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_TIMER:
        if (wParam == kClockTimer)
            InvalidateRect(handle_, nullptr, FALSE);
        return 0;
    case WM_QUERYENDSESSION: {
        LRESULT answer = DefWindowProcA(handle_, message, wParam, lParam);
        PostMessageA(handle_, WM_CLOSE, 0, 0);
        return answer;
    }
    case WM_CLOSE:
        FormClose();
        KillTimer(handle_, kClockTimer);
        if (Application())
            Application()->Terminate();
        return 0;
    default:
        return DefWindowProcA(handle_, message, wParam, lParam);
    }
}

} // namespace orvane
