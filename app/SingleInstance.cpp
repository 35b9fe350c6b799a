#include "app/SingleInstance.h"

#include "base/Win32Handles.h"

#include <string>

namespace orvane {

namespace {

// Held until the process ends: its existence is the signal to other starts.
UniqueHandle instanceMutex;
bool firstInstance = false;

} // namespace

bool InitSingleInstance(HWND applicationWindow) {
    char title[513] = {};
    GetWindowTextA(applicationWindow, title, sizeof title);
    std::string name = std::string("PREVINST:") + title;
    SetLastError(0);
    instanceMutex.reset(CreateMutexA(nullptr, TRUE, name.c_str()));
    // A mutex that cannot be created counts as another instance running.
    firstInstance = instanceMutex.valid() && GetLastError() == 0;
    return firstInstance;
}

bool FirstInstance() {
    return firstInstance;
}

void ActivatePrevInstance(HWND applicationWindow) {
    char className[256] = {}, title[256] = {};
    GetClassNameA(applicationWindow, className, sizeof className);
    GetWindowTextA(applicationWindow, title, sizeof title);

    HWND own = FindWindowA(className, title);
    if (!own)
        return;
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(own, &ownerProcess);
    if (ownerProcess != GetCurrentProcessId())
        return;

    HWND other = FindWindowExA(nullptr, own, className, title);
    if (!other)
        return;
    if (IsIconic(other)) {
        ShowWindow(other, SW_RESTORE);
        return;
    }
    SetForegroundWindow(other);
    HWND popup = GetLastActivePopup(other);
    if (popup && popup != other && IsWindowVisible(popup) && IsWindowEnabled(popup))
        BringWindowToTop(popup);
    else
        BringWindowToTop(other);
}

} // namespace orvane
