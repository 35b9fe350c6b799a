#include "system/VirtualDesktop.h"

#include "base/Platform.h"
#include "system/ProcessInfo.h"

#include <algorithm>
#include <iterator>

namespace orvane {

namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";
// Wine's X11 driver keeps the X window of a window in this property; the
// desktop window has one only when it is a virtual desktop (on the root
// window it has none).
constexpr wchar_t kWineXWindowProperty[] = L"__wine_x11_whole_window";
constexpr UINT kQuietFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

bool IsExplorer(HWND window) {
    std::string exe = GetProcessExeName(window);
    exe = exe.substr(exe.find_last_of('\\') + 1);
    return exe == "explorer.exe";
}

BOOL CALLBACK CollectForeignTray(HWND window, LPARAM list) {
    wchar_t className[32] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != GetCurrentProcessId() &&
        GetClassNameW(window, className, static_cast<int>(std::size(className))) &&
        lstrcmpW(className, kTrayClass) == 0)
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ForeignTrayWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectForeignTray, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

bool ExplorerHostsVirtualDesktop() {
    if (!RunningUnderWine())
        return false;
    HWND desktop = GetDesktopWindow();
    return desktop && GetPropW(desktop, kWineXWindowProperty) && IsExplorer(desktop);
}

TExplorerTrayStandIn::TExplorerTrayStandIn(HWND ownTray) : ownTray_(ownTray) {
    // Above every other window at once, explorer's topmost taskbar included:
    // explorer takes its time to move its own windows down. The tray window is
    // never shown, so this costs nothing on the screen.
    if (ownTray_)
        SetWindowPos(ownTray_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Keep();
}

TExplorerTrayStandIn::~TExplorerTrayStandIn() {
    for (HWND window : shown_)
        if (IsWindow(window))
            ShowWindowAsync(window, SW_SHOWNA);
}

void TExplorerTrayStandIn::Keep() {
    // Asynchronous calls throughout: a hung explorer must not hang the bar.
    for (HWND window : ForeignTrayWindows()) {
        if (!IsWindowVisible(window))
            continue;
        if (std::find(shown_.begin(), shown_.end(), window) == shown_.end())
            shown_.push_back(window);
        ShowWindowAsync(window, SW_HIDE);
    }
    if (!ownTray_ || FindWindowW(kTrayClass, nullptr) == ownTray_)
        return;
    for (HWND window : ForeignTrayWindows()) {
        if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)
            SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kQuietFlags);
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, kQuietFlags);
    }
    SetWindowPos(ownTray_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace orvane
