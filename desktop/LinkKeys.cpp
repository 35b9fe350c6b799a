#include "desktop/LinkKeys.h"

namespace orvane {

namespace {

// One watch per process: the hook procedures have no other way to find it.
TLinkKeyWatch* current = nullptr;

constexpr WPARAM kDeletePressed = 1;
constexpr WPARAM kWatchEnded = 0;

bool Held(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// Shift+Delete, Ctrl+Delete and the like are other commands, not this one.
bool ModifierHeld() {
    return Held(VK_SHIFT) || Held(VK_CONTROL) || Held(VK_MENU) || Held(VK_LWIN) || Held(VK_RWIN);
}

bool IsButtonDown(WPARAM message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return true;
    default:
        return false;
    }
}

} // namespace

TLinkKeyWatch::TLinkKeyWatch(HWND target, UINT message) : target_(target), message_(message) {}

TLinkKeyWatch::~TLinkKeyWatch() {
    Disarm();
}

bool TLinkKeyWatch::Arm() {
    if (current && current != this)
        return false;
    ++round_;
    if (!keyboard_)
        keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, &TLinkKeyWatch::KeyboardProc,
                                      GetModuleHandleW(nullptr), 0);
    if (!mouse_)
        mouse_ =
            SetWindowsHookExW(WH_MOUSE_LL, &TLinkKeyWatch::MouseProc, GetModuleHandleW(nullptr), 0);
    if (!keyboard_ || !mouse_) {
        // Without the mouse hook a click into another program would go
        // unseen and its Delete key be taken: no watch at all then.
        Disarm();
        return false;
    }
    current = this;
    armed_ = true;
    foreground_ = GetForegroundWindow();
    return true;
}

void TLinkKeyWatch::Disarm() {
    armed_ = false;
    if (keyboard_)
        UnhookWindowsHookEx(keyboard_);
    if (mouse_)
        UnhookWindowsHookEx(mouse_);
    keyboard_ = nullptr;
    mouse_ = nullptr;
    if (current == this)
        current = nullptr;
}

void TLinkKeyWatch::Ended(LPARAM round) {
    if (static_cast<uint32_t>(round) == round_ && !armed_)
        Disarm();
}

void TLinkKeyWatch::Stop(WPARAM reason) {
    armed_ = false;
    // The hooks are removed from the message, not inside their own call.
    PostMessageW(target_, message_, reason, static_cast<LPARAM>(round_));
}

bool TLinkKeyWatch::Key(const KBDLLHOOKSTRUCT& key, bool down) {
    // Only the press is taken: a lone release is harmless to any program,
    // and a release that never came must not leave keys taken.
    if (!armed_ || !down)
        return false;
    if (key.vkCode == VK_DELETE && GetForegroundWindow() == foreground_ && !ModifierHeld()) {
        Stop(kDeletePressed);
        return true;
    }
    Stop(kWatchEnded);
    return false;
}

LRESULT CALLBACK TLinkKeyWatch::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current && lParam) {
        const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        if (current->Key(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam), down))
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TLinkKeyWatch::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    // A press on a link arms the watch again from the desktop's own message,
    // which comes after this call.
    if (code == HC_ACTION && current && current->armed_ && IsButtonDown(wParam))
        current->Stop(kWatchEnded);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace orvane
