#pragma once
// The platform's notify-icon request, as other programs send it to the tray
// window in WM_COPYDATA: signature, command, cbSize 504, then the 32-bit fields
// of the notify-icon data and the tip.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace traytest {

inline constexpr uint32_t kPlatformSignature = 0x34753423;

// Writes `value` at `offset` when the block reaches that far.
inline void Put32(std::vector<uint8_t>& block, size_t offset, uint32_t value) {
    if (offset + sizeof value <= block.size())
        std::memcpy(block.data() + offset, &value, sizeof value);
}

inline uint32_t Handle32(const void* handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

inline std::vector<uint8_t> PlatformBlock(uint32_t command, HWND owner, uint32_t id, uint32_t flags,
                                          uint32_t callback, HICON icon, const std::wstring& tip) {
    std::vector<uint8_t> block(32 + 128, 0);
    const uint32_t fields[] = {kPlatformSignature, command,       504, Handle32(owner), id, flags,
                               callback,           Handle32(icon)};
    std::memcpy(block.data(), fields, sizeof fields);
    std::memcpy(block.data() + 32, tip.data(), std::min<size_t>(tip.size(), 63) * 2);
    return block;
}

} // namespace traytest
