#include "startpanel/WindowsKey.h"

#include "base/Guarded.h"

namespace orvane {

namespace {

// One watch per process: the hook procedure has no other way to find it.
TWindowsKeyWatch* current = nullptr;

} // namespace

TWindowsKeyWatch::TWindowsKeyWatch(std::function<void()> pressed, std::function<void()> run)
    : pressed_(std::move(pressed)), run_(std::move(run)) {
    if (current)
        return;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &TWindowsKeyWatch::KeyboardProc,
                              GetModuleHandleW(nullptr), 0);
    if (hook_)
        current = this;
}

TWindowsKeyWatch::~TWindowsKeyWatch() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    if (current == this)
        current = nullptr;
}

bool TWindowsKeyWatch::Key(const KBDLLHOOKSTRUCT& key, bool down) {
    const bool windowsKey = key.vkCode == VK_LWIN || key.vkCode == VK_RWIN;
    if (key.vkCode == 'R' && (takenR_ || (down && held_ && run_))) {
        // Win+R: the press runs the action; its auto-repeat and its release
        // are taken with it.
        const bool first = down && !takenR_;
        takenR_ = down;
        alone_ = false;
        if (first) {
            std::function<void()> action = run_;
            Guarded("TfrmStart.RunKey", FailurePolicy::LogAndContinue, [&] { action(); });
        }
        return true;
    }
    if (!windowsKey) {
        // Win+E and the like are shortcuts of their own, not a press alone.
        if (down)
            alone_ = false;
        return false;
    }
    if (down) {
        // The key's auto-repeat must not restart the press.
        if (!held_)
            alone_ = true;
        held_ = true;
        return false;
    }
    const bool fire = held_ && alone_;
    held_ = false;
    alone_ = false;
    if (fire && pressed_) {
        // Short work (a timer and a window shown without activation): it may
        // run inside the hook.
        std::function<void()> action = pressed_;
        Guarded("TfrmStart.WindowsKey", FailurePolicy::LogAndContinue, [&] { action(); });
    }
    return false;
}

LRESULT CALLBACK TWindowsKeyWatch::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current && lParam) {
        const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        if (current->Key(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam), down))
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace orvane
