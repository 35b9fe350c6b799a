// test_window: opens one visible top-level window (class "OrvaneTestWindow")
// titled after its argument and waits, so that tests can ask who owns it or
// drive it from the shell. Ends on WM_CLOSE, or by itself after three minutes
// should the test die first.
#include <windows.h>

#include <string>

namespace {

constexpr UINT kLifetimeMs = 180000;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Without a window manager, Wine's X11 driver may answer another process
    // moving a maximised window with a restore of its own; the tests' windows
    // keep the state the tests gave them. (ShowWindow still restores.)
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE && IsZoomed(window))
        return 0;
    if (message == WM_DESTROY || message == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string title = commandLine;
    if (title.size() >= 2 && title.front() == '"')
        title = title.substr(1, title.size() - 2);
    if (title.empty())
        title = "Orvane test window";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "OrvaneTestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100,
                                  300, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    SetTimer(window, 1, kLifetimeMs, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
