// winwatch_events_helper COUNT OUTFILE [show] [appcommand]: creates and
// destroys COUNT unowned top-level windows one after the other, then writes
// one line per window to OUTFILE: its handle as an unsigned decimal number.
// Options, for each window before it is destroyed:
//   show        shows it without activating it (under Wine without a window
//               manager that costs about 2 s per window);
//   appcommand  sends it a WM_APPCOMMAND, which its default window procedure
//               turns into the shell event HSHELL_APPCOMMAND (12), a code the
//               hook must not forward.
// Exit code 0 on success, 2 wrong usage, 3 a window could not be created,
// 4 cannot write.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3)
        return 2;
    int count = std::atoi(__argv[1]);
    const char* outFile = __argv[2];
    bool show = false, appCommand = false;
    for (int i = 3; i < __argc; ++i) {
        if (lstrcmpiA(__argv[i], "show") == 0)
            show = true;
        else if (lstrcmpiA(__argv[i], "appcommand") == 0)
            appCommand = true;
        else
            return 2;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "WinwatchEventsHelper";
    RegisterClassA(&wc);

    std::vector<HWND> windows;
    for (int i = 0; i < count; ++i) {
        HWND window = CreateWindowExA(0, wc.lpszClassName, "winwatch events helper",
                                      WS_OVERLAPPEDWINDOW, 10 + 20 * i, 10 + 20 * i, 200, 100,
                                      nullptr, nullptr, instance, nullptr);
        if (!window)
            return 3;
        if (show)
            ShowWindow(window, SW_SHOWNOACTIVATE);
        if (appCommand)
            SendMessageA(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                         MAKELPARAM(0, FAPPCOMMAND_KEY | APPCOMMAND_BROWSER_HOME));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DestroyWindow(window);
        windows.push_back(window);
    }

    FILE* out = std::fopen(outFile, "w");
    if (!out)
        return 4;
    for (HWND window : windows)
        std::fprintf(out, "%llu\n",
                     static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    std::fclose(out);
    return 0;
}
