// Shows one top-level window and waits, so that tests can ask who owns it.
// Ends on WM_CLOSE, or by itself after a minute should the test die first.
#include <windows.h>

namespace {

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY || message == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HelperProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "OrvaneCoreHelper";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "OrvaneCoreHelper", "Orvane core helper",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return 1;
    SetTimer(window, 1, 60000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
