#include "base/Platform.h"

#include <windows.h>

namespace orvane {

uint8_t OSPlatform = kPlatformOther;

uint8_t GetOSPlatform() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info; // 276 bytes
    if (!GetVersionExW(&info))
        return kPlatformOther;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return kPlatformWin32s;
    case VER_PLATFORM_WIN32_WINDOWS:
        return kPlatform9x;
    case VER_PLATFORM_WIN32_NT:
        return kPlatformNT;
    default:
        return kPlatformOther;
    }
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace orvane
