#pragma once
// The wallpaper the user picks in the settings dialog: read from a bitmap or
// a JPEG file, stretched to the screen, written back as the desktop's bitmap.
#include "base/Win32Handles.h"
#include "paint/PictureFiles.h"

#include <string>

namespace orvane {

// ".bmp" is read as a bitmap, ".jpg" and ".jpeg" (any case) are decoded; any
// other extension, and any error while reading, give no bitmap.
UniqueBitmap LoadPictureFile(const std::string& path);

// Replaces `bitmap` by a `width` x `height` copy with its picture stretched
// over all of it (the aspect ratio is not kept). False, and `bitmap` as it
// was, when that cannot be done.
bool ResizeBitmap(UniqueBitmap& bitmap, int width, int height);

// The bitmap's pixels; ShellError when they cannot be read.
TRgbImage BitmapPixels(HBITMAP bitmap);

} // namespace orvane
