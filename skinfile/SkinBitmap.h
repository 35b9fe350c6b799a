#pragma once
// The bitmaps a skin embeds: whole BMP files, checked field by field before
// anything is taken from them, since they come from a file that may be damaged.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

// Where the parts of a checked BMP lie.
struct SkinBitmapLayout {
    int width = 0;
    int height = 0; // negative: rows run top-down
    int bitCount = 0;
    std::size_t infoOffset = 0; // the BITMAPINFOHEADER
    std::size_t colorTableOffset = 0;
    std::size_t colorCount = 0;
    std::size_t bitsOffset = 0;
    std::size_t bitsSize = 0;
};

inline constexpr int kSkinMaxBitmapSide = 4096;

// An uncompressed BMP (1, 4, 8, 24 or 32 bits per pixel) whose every part lies
// inside `bytes`; anything else raises SkinFormatError.
SkinBitmapLayout CheckSkinBitmap(std::span<const std::uint8_t> bytes);

} // namespace orvane
