#include "skinfile/SkinBitmap.h"

#include "skinfile/SkinModel.h"

namespace orvane {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kLargestInfoHeader = 124; // BITMAPV5HEADER

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

[[noreturn]] void Reject(const char* what) {
    throw SkinFormatError(std::string("bad bitmap: ") + what);
}

} // namespace

SkinBitmapLayout CheckSkinBitmap(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize)
        Reject("too short");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        Reject("not a BMP file");
    const std::uint32_t infoSize = ReadU32(bytes, kFileHeaderSize);
    if (infoSize < kInfoHeaderSize || infoSize > kLargestInfoHeader ||
        kFileHeaderSize + infoSize > bytes.size())
        Reject("unknown header");

    SkinBitmapLayout layout;
    layout.infoOffset = kFileHeaderSize;
    // Two's complement view of the signed fields, without relying on casts of large values.
    const std::int64_t width = static_cast<std::int32_t>(ReadU32(bytes, kFileHeaderSize + 4));
    const std::int64_t height = static_cast<std::int32_t>(ReadU32(bytes, kFileHeaderSize + 8));
    if (width < 1 || width > kSkinMaxBitmapSide || height == 0 || height > kSkinMaxBitmapSide ||
        height < -kSkinMaxBitmapSide)
        Reject("size out of range");
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    if (ReadU16(bytes, kFileHeaderSize + 12) != 1)
        Reject("more than one plane");
    layout.bitCount = ReadU16(bytes, kFileHeaderSize + 14);
    if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 &&
        layout.bitCount != 24 && layout.bitCount != 32)
        Reject("unsupported colour depth");
    if (ReadU32(bytes, kFileHeaderSize + 16) != 0)
        Reject("compressed pixels");

    const std::uint32_t colorsUsed = ReadU32(bytes, kFileHeaderSize + 32);
    if (layout.bitCount <= 8) {
        const std::uint32_t most = 1u << layout.bitCount;
        if (colorsUsed > most)
            Reject("colour table too large");
        layout.colorCount = colorsUsed ? colorsUsed : most;
    }
    layout.colorTableOffset = kFileHeaderSize + infoSize;
    layout.bitsOffset = ReadU32(bytes, 10);
    if (layout.bitsOffset < layout.colorTableOffset + layout.colorCount * 4 ||
        layout.bitsOffset > bytes.size())
        Reject("pixels overlap the header");

    const std::uint64_t stride =
        (static_cast<std::uint64_t>(width) * layout.bitCount + 31) / 32 * 4;
    const std::uint64_t rows =
        height < 0 ? static_cast<std::uint64_t>(-height) : static_cast<std::uint64_t>(height);
    const std::uint64_t bitsSize = stride * rows;
    if (bitsSize > bytes.size() - layout.bitsOffset)
        Reject("pixels cut short");
    layout.bitsSize = static_cast<std::size_t>(bitsSize);
    return layout;
}

} // namespace orvane
