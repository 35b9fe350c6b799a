#pragma once
// Fixed-size values in byte blocks another program sent or will read: copied
// byte by byte, so a block at any address is read safely.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orvane {

inline uint32_t ReadU32(const uint8_t* block, size_t offset) {
    uint32_t value;
    std::memcpy(&value, block + offset, sizeof value);
    return value;
}

inline void WriteU32(uint8_t* block, size_t offset, uint32_t value) {
    std::memcpy(block + offset, &value, sizeof value);
}

} // namespace orvane
