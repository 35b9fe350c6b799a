#include "settings/WallpaperPick.h"

#include "base/Config.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "paint/PictureLimits.h"
#include "paint/Dib.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace orvane {

namespace {

UniqueBitmap BitmapFromRgb(const TRgbImage& image) {
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(image.width, image.height, &bits);
    if (!bitmap)
        return {};
    auto* pixels = static_cast<uint32_t*>(bits);
    const size_t count = static_cast<size_t>(image.width) * image.height;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* rgb = image.rgb.data() + i * 3;
        pixels[i] = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
    }
    return bitmap;
}

} // namespace

UniqueBitmap LoadPictureFile(const std::string& path) {
    try {
        const std::string extension = LowerExtension(path);
        if (extension == ".bmp") {
            CheckBitmapFileSize(path);
            return UniqueBitmap(
                static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        }
        if (extension == ".jpg" || extension == ".jpeg")
            return BitmapFromRgb(DecodeJpegFile(path));
    } catch (const std::exception&) {
        // An unreadable picture is no picture: the caller keeps what it shows.
    }
    return {};
}

bool ResizeBitmap(UniqueBitmap& bitmap, int width, int height) {
    if (!bitmap || width <= 0 || height <= 0)
        return false;
    const SIZE from = BitmapSize(bitmap.get()).value_or(SIZE{0, 0});
    if (from.cx <= 0 || from.cy <= 0)
        return false;
    void* bits = nullptr;
    UniqueBitmap resized = CreateTopDownDib(width, height, &bits);
    if (!resized)
        return false;
    UniqueMemoryDc source(CreateCompatibleDC(nullptr));
    UniqueMemoryDc target(CreateCompatibleDC(nullptr));
    if (!source || !target)
        return false;
    HGDIOBJ oldSource = SelectObject(source.get(), bitmap.get());
    HGDIOBJ oldTarget = SelectObject(target.get(), resized.get());
    // HALFTONE averages the pixels a shrink drops and smooths an enlargement.
    SetStretchBltMode(target.get(), HALFTONE);
    SetBrushOrgEx(target.get(), 0, 0, nullptr);
    const BOOL stretched = StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0,
                                      from.cx, from.cy, SRCCOPY);
    SelectObject(source.get(), oldSource);
    SelectObject(target.get(), oldTarget);
    if (!stretched)
        return false;
    bitmap = std::move(resized);
    return true;
}

TRgbImage BitmapPixels(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap).value_or(SIZE{0, 0});
    if (size.cx <= 0 || size.cy <= 0)
        throw ShellError("The wallpaper has no picture to write");
    BITMAPINFO info = TopDownDibInfo(size.cx, size.cy);
    std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info,
                         DIB_RGB_COLORS) != size.cy)
        ThrowLastError("Cannot read the wallpaper's pixels");
    TRgbImage image;
    image.width = size.cx;
    image.height = size.cy;
    image.rgb.resize(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        image.rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
        image.rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        image.rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
    }
    return image;
}

} // namespace orvane
