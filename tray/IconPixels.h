#pragma once
// A notify icon as the tray keeps it: 16 x 16 premultiplied BGRA pixels. Made
// straight from an icon handle or from the bitmap bits Wine's Shell_NotifyIcon
// sends, without the icon copies that cost milliseconds under Wine.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace orvane {

constexpr int kTrayIconSize = 16;

struct TIconPixels {
    // Rows top-down; alpha 0 is transparent, colours premultiplied by alpha.
    std::array<uint32_t, kTrayIconSize * kTrayIconSize> Pixels{};
    bool operator==(const TIconPixels&) const = default;
};

// The icon at 16 x 16: the icon's own small image when it has one in its
// resource, else the image scaled by area. ShellError when `icon` is no icon.
TIconPixels IconPixelsFromHandle(HICON icon);

// Device-dependent AND mask and colour bits as GetBitmapBits gives them (rows
// word-aligned, top-down). Handles 1, 24 and 32 bits per pixel and widths that
// are multiples of 16; nothing for other formats (make an icon of them then).
std::optional<TIconPixels> IconPixelsFromDeviceBits(uint32_t width, uint32_t height, uint32_t bpp,
                                                    const uint8_t* mask, const uint8_t* colour);

} // namespace orvane
