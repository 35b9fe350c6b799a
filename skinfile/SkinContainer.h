#pragma once
// The compiled skin file: a 28-byte header, then the payload deflated by zlib.
//
//   0  "OSKN"
//   4  u16 format version (1)      6  u16 reserved, 0
//   8  u32 payload length          12 u32 deflated length (the rest of the file)
//   16 u32 CRC-32 of the deflated bytes
//   20 u32 CRC-32 of the payload   24 u32 CRC-32 of header bytes 0..23
//
// Little-endian. The lengths must match the file exactly, so a cut or padded
// file is caught before anything is inflated; the deflated bytes have their own
// checksum because zlib ignores some bits of its stream (the final padding).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

inline constexpr std::uint8_t kSkinMagic[4] = {'O', 'S', 'K', 'N'};
inline constexpr std::uint16_t kSkinFormatVersion = 1;
inline constexpr std::size_t kSkinHeaderSize = 28;
inline constexpr std::size_t kSkinVersionOffset = 4;
inline constexpr std::size_t kSkinPayloadSizeOffset = 8;
inline constexpr std::size_t kSkinPackedSizeOffset = 12;
inline constexpr std::size_t kSkinPackedCrcOffset = 16;
inline constexpr std::size_t kSkinPayloadCrcOffset = 20;
inline constexpr std::size_t kSkinHeaderCrcOffset = 24;
inline constexpr std::size_t kSkinMaxPayloadSize = 16u << 20;

std::vector<std::uint8_t> PackSkinFile(std::span<const std::uint8_t> payload);

// The payload of a compiled skin file; raises SkinFormatError for any fault.
std::vector<std::uint8_t> UnpackSkinFile(std::span<const std::uint8_t> file);

} // namespace orvane
