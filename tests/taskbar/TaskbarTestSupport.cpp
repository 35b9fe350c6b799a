#include "tests/taskbar/TaskbarTestSupport.h"

#include <array>

namespace taskbartest {

namespace {

const char* WindowClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TaskbarTestWindow";
        RegisterClassA(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

HWND NewWindow(const std::string& title, DWORD style) {
    return CreateWindowExA(0, WindowClass(), title.c_str(), WS_OVERLAPPEDWINDOW | style, 50, 50,
                           200, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

} // namespace

HWND PoolWindow(int index, const std::string& title) {
    static std::array<HWND, 8> pool{};
    HWND& window = pool.at(static_cast<size_t>(index));
    if (!window)
        window = NewWindow(title, WS_VISIBLE);
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetWindowTextA(window, title.c_str());
    return window;
}

HWND NewShownWindow(const std::string& title) {
    return NewWindow(title, WS_VISIBLE);
}

HWND NewHiddenWindow(const std::string& title) {
    return NewWindow(title, 0);
}

} // namespace taskbartest
