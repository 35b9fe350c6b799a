#pragma once
// The about box's logo: a tall, narrow strip painted by the program itself.
#include "base/Win32Handles.h"

namespace orvane {

// A `width` x `height` bitmap of the logo; null when it cannot be made.
UniqueBitmap PaintAboutLogo(int width, int height);

} // namespace orvane
