#include "paint/PictureLimits.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace orvane {

namespace {

constexpr size_t kFileHeaderSize = 14;   // "BM", file size, reserved, offset
constexpr uint32_t kCoreHeaderSize = 12; // OS/2 1.x: 16-bit width and height

uint32_t Read32(const unsigned char* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}
uint16_t Read16(const unsigned char* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

} // namespace

void CheckBitmapFileSize(const std::string& path) {
    UniqueFileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowLastError("Picture: loading " + path);
    unsigned char header[kFileHeaderSize + 16] = {};
    DWORD got = 0;
    if (!ReadFile(file.get(), header, sizeof header, &got, nullptr) ||
        got < kFileHeaderSize + kCoreHeaderSize || header[0] != 'B' || header[1] != 'M')
        throw ShellError("Picture: not a bitmap: " + path);
    const unsigned char* info = header + kFileHeaderSize;
    uint64_t width = 0, height = 0;
    if (Read32(info) == kCoreHeaderSize) {
        width = Read16(info + 4);
        height = Read16(info + 6);
    } else if (got == sizeof header) {
        // Height is negative for pictures stored top-down.
        width = static_cast<uint64_t>(
            std::abs(static_cast<int64_t>(static_cast<int32_t>(Read32(info + 4)))));
        height = static_cast<uint64_t>(
            std::abs(static_cast<int64_t>(static_cast<int32_t>(Read32(info + 8)))));
    } else {
        throw ShellError("Picture: not a bitmap: " + path);
    }
    if (width * height > kMaxPicturePixels)
        throw ShellError("Picture: too large (" + std::to_string(width) + "x" +
                         std::to_string(height) + "): " + path);
}

} // namespace orvane
