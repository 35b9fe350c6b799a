#include "tray/IconPixels.h"
#include "paint/Dib.h"

#include "base/ShellError.h"
#include "base/Win32Handles.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace orvane {

namespace {

constexpr char kNoBitmap[] = "the icon has no readable bitmap";

// Straight (not premultiplied) BGRA pixels of any size, top-down.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

uint32_t Premultiply(uint32_t pixel) {
    uint32_t alpha = pixel >> 24;
    auto channel = [&](int shift) { return (((pixel >> shift) & 0xFF) * alpha + 127) / 255; };
    return alpha << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

// Area average of the premultiplied pixels that fall into each target pixel.
TIconPixels ScaleTo16(const Image& image) {
    TIconPixels result;
    for (int y = 0; y < kTrayIconSize; ++y)
        for (int x = 0; x < kTrayIconSize; ++x) {
            int x0 = x * image.width / kTrayIconSize, x1 = (x + 1) * image.width / kTrayIconSize;
            int y0 = y * image.height / kTrayIconSize, y1 = (y + 1) * image.height / kTrayIconSize;
            x1 = std::max(x1, x0 + 1);
            y1 = std::max(y1, y0 + 1);
            uint32_t sum[4] = {}, count = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx, ++count) {
                    uint32_t p =
                        Premultiply(image.pixels[static_cast<size_t>(sy * image.width + sx)]);
                    for (int c = 0; c < 4; ++c)
                        sum[c] += (p >> (8 * c)) & 0xFF;
                }
            uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c)
                pixel |= ((sum[c] + count / 2) / count) << (8 * c);
            result.Pixels[static_cast<size_t>(y * kTrayIconSize + x)] = pixel;
        }
    return result;
}

// Colour pixels without any alpha take their transparency from the AND mask.
void ApplyMaskIfNoAlpha(Image& image, const std::vector<bool>& transparent) {
    for (uint32_t p : image.pixels)
        if (p >> 24)
            return;
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = (image.pixels[i] & 0xFFFFFF) | (transparent[i] ? 0u : 0xFF000000u);
}

std::vector<uint32_t> BitsOf(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = TopDownDibInfo(width, height);
    std::vector<uint32_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), bits.data(), &info,
                   DIB_RGB_COLORS))
        throw ShellError("the icon's bitmap cannot be read");
    return bits;
}

TIconPixels FromHandle(HICON icon, bool trySmallImage) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        throw ShellError("the icon handle " + std::to_string(reinterpret_cast<uintptr_t>(icon)) +
                         " is no icon");
    UniqueBitmap mask(info.hbmMask), colour(info.hbmColor);
    SIZE maskSize = BitmapSize(mask.get(), kNoBitmap);
    SIZE size = colour ? BitmapSize(colour.get(), kNoBitmap) : SIZE{maskSize.cx, maskSize.cy / 2};
    if (size.cx <= 0 || size.cy <= 0 || size.cx > 256 || size.cy > 256)
        throw ShellError("the icon has an unusable size");
    if (trySmallImage && (size.cx != kTrayIconSize || size.cy != kTrayIconSize)) {
        UniqueIcon small(static_cast<HICON>(
            CopyImage(icon, IMAGE_ICON, kTrayIconSize, kTrayIconSize, LR_COPYFROMRESOURCE)));
        if (small)
            return FromHandle(small.get(), false);
    }
    std::vector<uint32_t> maskBits = BitsOf(mask.get(), maskSize.cx, maskSize.cy);
    Image image{size.cx, size.cy, {}};
    std::vector<bool> transparent(static_cast<size_t>(size.cx * size.cy));
    for (size_t i = 0; i < transparent.size(); ++i)
        transparent[i] = (maskBits[i] & 0xFFFFFF) != 0;
    if (colour) {
        image.pixels = BitsOf(colour.get(), size.cx, size.cy);
    } else {
        // A monochrome icon stacks its AND mask over its XOR mask.
        image.pixels.assign(maskBits.begin() + static_cast<ptrdiff_t>(transparent.size()),
                            maskBits.end());
        for (uint32_t& p : image.pixels)
            p &= 0xFFFFFF;
    }
    ApplyMaskIfNoAlpha(image, transparent);
    return ScaleTo16(image);
}

} // namespace

TIconPixels IconPixelsFromHandle(HICON icon) {
    return FromHandle(icon, true);
}

std::optional<TIconPixels> IconPixelsFromDeviceBits(uint32_t width, uint32_t height, uint32_t bpp,
                                                    const uint8_t* mask, const uint8_t* colour) {
    if (width == 0 || width % 16 != 0 || width > 256 || height == 0 || height > 256 ||
        (bpp != 1 && bpp != 24 && bpp != 32))
        return std::nullopt;
    size_t maskStride = width / 8;
    size_t colorStride = width * bpp / 8;
    Image image{static_cast<int>(width), static_cast<int>(height), {}};
    std::vector<bool> transparent;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            auto bit = [&](const uint8_t* bits) {
                return (bits[y * maskStride + x / 8] >> (7 - x % 8)) & 1;
            };
            transparent.push_back(bit(mask) != 0);
            const uint8_t* at = colour + y * colorStride + x * bpp / 8;
            uint32_t pixel = 0;
            if (bpp == 32)
                std::memcpy(&pixel, at, sizeof pixel);
            else if (bpp == 24)
                pixel = at[0] | at[1] << 8 | at[2] << 16;
            else
                pixel = bit(colour) ? 0xFFFFFF : 0;
            image.pixels.push_back(pixel);
        }
    ApplyMaskIfNoAlpha(image, transparent);
    return ScaleTo16(image);
}

} // namespace orvane
