#pragma once
// The uncompressed contents of a compiled skin, little-endian throughout:
//
//   u32 element count (1..256)
//   per element: u8 length + name, u16 property count, then per property
//     u8 length + key, u8 kind (SkinValueKind), value:
//       colour u32 0x00BBGGRR | fill u32 start, u32 end, u8 direction
//       integer i32 | flag u8 0/1 | text u8 length + characters
//       bitmap u32 length + BMP file
//
// Every property is written; a reader skips keys it does not know (of a known
// kind) and starts each element from its built-in look.
#include "skinfile/SkinModel.h"

namespace orvane {

std::vector<std::uint8_t> EncodeSkinPayload(std::span<const SkinElementStyle> elements);

// Raises SkinFormatError for anything malformed; never reads outside `payload`.
std::vector<SkinElementStyle> DecodeSkinPayload(std::span<const std::uint8_t> payload);

} // namespace orvane
