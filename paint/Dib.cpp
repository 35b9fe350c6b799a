#include "paint/Dib.h"

#include "base/ShellError.h"

namespace orvane {

std::optional<SIZE> BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info)
        return std::nullopt;
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

SIZE BitmapSize(HBITMAP bitmap, const char* failure) {
    std::optional<SIZE> size = BitmapSize(bitmap);
    if (!size)
        throw ShellError(failure);
    return *size;
}

BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

UniqueBitmap CreateTopDownDib(int width, int height, void** bits, WORD bitCount) {
    BITMAPINFO info = TopDownDibInfo(width, height, bitCount);
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

} // namespace orvane
