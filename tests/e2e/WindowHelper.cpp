// Opens one visible top-level window titled after its argument and waits.
#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Without a window manager, Wine's X11 driver may answer another process
    // moving a maximised window with a restore of its own; the tests' windows
    // keep the state the tests gave them. (ShowWindow still restores.)
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE && IsZoomed(window))
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string title = commandLine;
    if (title.size() >= 2 && title.front() == '"')
        title = title.substr(1, title.size() - 2);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "OrvaneTestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100,
                                  300, 200, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
