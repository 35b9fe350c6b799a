#include "app/SingleInstance.h"

#include "base/Win32Handles.h"

#include <iterator>
#include <string>
#include <vector>

namespace orvane {

namespace {

// Held until the process ends: its existence is the signal to other starts.
UniqueHandle instanceMutex;
bool firstInstance = false;

// A window's text and class as the platform holds them, in UTF-16.
std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(got > 0 ? got : 0));
}

std::wstring ClassOf(HWND window) {
    // Class names are at most 256 units long.
    wchar_t name[257] = {};
    const int got = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<size_t>(got > 0 ? got : 0));
}

} // namespace

bool InitSingleInstance(HWND applicationWindow) {
    const std::wstring name = L"PREVINST:" + TextOf(applicationWindow);
    SetLastError(0);
    instanceMutex.reset(CreateMutexW(nullptr, TRUE, name.c_str()));
    // A mutex that cannot be created counts as another instance running.
    firstInstance = instanceMutex.valid() && GetLastError() == 0;
    return firstInstance;
}

bool FirstInstance() {
    return firstInstance;
}

void ActivatePrevInstance(HWND applicationWindow) {
    const std::wstring className = ClassOf(applicationWindow);
    const std::wstring title = TextOf(applicationWindow);

    HWND own = FindWindowW(className.c_str(), title.c_str());
    if (!own)
        return;
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(own, &ownerProcess);
    if (ownerProcess != GetCurrentProcessId())
        return;

    HWND other = FindWindowExW(nullptr, own, className.c_str(), title.c_str());
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
