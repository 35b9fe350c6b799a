#pragma once
// Bitmaps: their size, and top-down 32-bit DIBs: one 0x00RRGGBB (or
// premultiplied ARGB) value per pixel, rows from the top. Pixels read back
// from those are exactly the ones drawn.
#include "base/Win32Handles.h"

#include <optional>

namespace orvane {

// The width and height of a bitmap, a bottom-up one's height made positive;
// nothing when `bitmap` is no bitmap.
std::optional<SIZE> BitmapSize(HBITMAP bitmap);
// The same; ShellError(`failure`) when it is no bitmap.
SIZE BitmapSize(HBITMAP bitmap, const char* failure);

BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount = 32);
// A DIB section of that format; `bits` receives where its pixels live. Null
// when it cannot be made. A 24-bit one (three bytes a pixel, rows padded to
// four bytes) holds the same colours in three quarters of the memory.
UniqueBitmap CreateTopDownDib(int width, int height, void** bits, WORD bitCount = 32);

} // namespace orvane
