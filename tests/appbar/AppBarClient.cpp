// appbar_client EDGE THICKNESS [query]: registers an app bar of THICKNESS
// pixels on EDGE (0 left, 1 top, 2 right, 3 bottom) of the primary monitor
// through SHAppBarMessage and keeps it until it is ended, or for a minute
// should the test die first. With "query" it only asks where such a bar would
// lie, removes its registration and ends with the place's top (top and bottom
// edges) or left as its exit code, plus 1000. Exit code 2 when a request
// failed.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3)
        return 1;
    const bool query = argc > 3 && lstrcmpW(argv[3], L"query") == 0;
    const UINT edge = static_cast<UINT>(_wtoi(argv[1]));
    const int thickness = _wtoi(argv[2]);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"appbar client", WS_POPUP, 0, 0, 1,
                                  1, nullptr, nullptr, instance, nullptr);
    APPBARDATA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uCallbackMessage = WM_APP + 1;
    if (!SHAppBarMessage(ABM_NEW, &data))
        return 2;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    data.uEdge = edge;
    data.rc = {0, 0, width, height};
    switch (edge) {
    case ABE_LEFT:
        data.rc.right = thickness;
        break;
    case ABE_TOP:
        data.rc.bottom = thickness;
        break;
    case ABE_RIGHT:
        data.rc.left = width - thickness;
        break;
    default:
        data.rc.top = height - thickness;
        break;
    }
    if (!SHAppBarMessage(ABM_QUERYPOS, &data))
        return 2;
    if (query) {
        SHAppBarMessage(ABM_REMOVE, &data);
        return 1000 + (edge == ABE_TOP || edge == ABE_BOTTOM ? data.rc.top : data.rc.left);
    }
    if (!SHAppBarMessage(ABM_SETPOS, &data))
        return 2;
    MSG message;
    SetTimer(nullptr, 0, 60000, nullptr);
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageW(&message);
    return 0;
}
