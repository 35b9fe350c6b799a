#include "toolkit/Timer.h"

#include "base/ShellError.h"
#include "base/Win32Handles.h"
#include "toolkit/Application.h"
#include "base/Guarded.h"

#include <map>

namespace orvane {

namespace {

constexpr wchar_t kTimerWindowClass[] = L"TTimerWindow";

// Live timers by id: a tick for an id that is gone is dropped, which is what
// makes freeing a timer inside its own handler safe.
std::map<UINT_PTR, TTimer*>& LiveTimers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

UINT_PTR NextTimerId() {
    static UINT_PTR next = 0;
    return ++next;
}

} // namespace

LRESULT CALLBACK TTimer::TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER)
        return DefWindowProcW(window, message, wParam, lParam);
    auto found = LiveTimers().find(static_cast<UINT_PTR>(wParam));
    if (found == LiveTimers().end()) {
        KillTimer(window, wParam);
        return 0;
    }
    Guarded("TTimer.Tick", FailurePolicy::ShowError, [&] { found->second->Tick(); });
    return 0;
}

namespace {

HWND TimerWindow() {
    static UniqueWindow window;
    if (!window) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (!GetClassInfoExW(instance, kTimerWindowClass, &existing))
            throw ShellError("Timer: window class is not registered");
        // A message-only window: never shown, never enumerated as a top-level window.
        window.reset(CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, instance, nullptr));
        if (!window)
            ThrowLastError("Timer: creating the timer window");
    }
    return window.get();
}

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(NextTimerId()) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kTimerWindowClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TTimer::TimerWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kTimerWindowClass;
        if (!RegisterClassExW(&wc))
            ThrowLastError("Timer: registering the window class");
    }
    LiveTimers()[id_] = this;
    Update();
}

TTimer::~TTimer() {
    LiveTimers().erase(id_);
    if (running_)
        KillTimer(TimerWindow(), id_);
}

void TTimer::SetInterval(unsigned interval) {
    if (interval_ == interval)
        return;
    interval_ = interval;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Update();
}

void TTimer::Update() {
    HWND window = TimerWindow();
    if (running_) {
        KillTimer(window, id_);
        running_ = false;
    }
    if (!enabled_ || interval_ == 0)
        return;
    // SetTimer on the same id restarts the count, as a changed interval should.
    if (!SetTimer(window, id_, interval_, nullptr))
        ThrowLastError("Timer: SetTimer");
    running_ = true;
}

void TTimer::Tick() {
    if (!enabled_ || !OnTimer)
        return;
    // The handler runs from a copy: freeing the timer inside it destroys the
    // member, not the function being run.
    TNotifyEvent handler = OnTimer;
    handler(*this);
}

void TTimer::PublishProperties(std::vector<TProperty>& properties) {
    TComponent::PublishProperties(properties);
    properties.push_back(IntegerProperty(
        "Interval", [this] { return interval_; },
        [this](int64_t v) { SetInterval(v < 0 ? 0u : static_cast<unsigned>(v)); }));
    properties.push_back(BoolProperty(
        "Enabled", [this] { return enabled_; }, [this](bool v) { SetEnabled(v); }));
}

} // namespace orvane
