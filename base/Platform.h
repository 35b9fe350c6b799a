#pragma once
// The platform family the shell runs on, which decides between the registry
// (NT family) and the initialisation files (9x family).
#include <cstdint>

namespace orvane {

enum : uint8_t {
    kPlatformOther = 0,
    kPlatformWin32s = 1,
    kPlatform9x = 2,
    kPlatformNT = 3,
};

// Set once at start from GetOSPlatform.
extern uint8_t OSPlatform;

uint8_t GetOSPlatform();

// True when running under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

} // namespace orvane
