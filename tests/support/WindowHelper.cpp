// test_window: opens one visible top-level window (class "OrvaneTestWindow", a
// Unicode window: other programs may give it a title in any script) titled
// after its argument and waits, so that tests can ask who owns it or
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
    return DefWindowProcW(window, message, wParam, lParam);
}

// The command line after the program's own name (quoted where it holds blanks).
std::wstring ArgumentsOf(const wchar_t* line) {
    if (*line == L'"') {
        for (++line; *line && *line != L'"'; ++line) {
        }
        if (*line)
            ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::wstring title = ArgumentsOf(GetCommandLineW());
    if (title.size() >= 2 && title.front() == L'"')
        title = title.substr(1, title.size() - 2);
    if (title.empty())
        title = L"Orvane test window";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"OrvaneTestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100,
                                  300, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    SetTimer(window, 1, kLifetimeMs, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
