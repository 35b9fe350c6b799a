#pragma once
// Top-down 32-bit bitmaps: one 0x00RRGGBB (or premultiplied ARGB) value per
// pixel, rows from the top. Pixels read back from them are exactly those drawn.
#include "base/Win32Handles.h"

namespace orvane {

BITMAPINFO TopDownDibInfo(int width, int height);
// A DIB section of that format; `bits` receives where its pixels live. Null
// when it cannot be made.
UniqueBitmap CreateTopDownDib(int width, int height, void** bits);

} // namespace orvane
