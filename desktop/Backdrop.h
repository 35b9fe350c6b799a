#pragma once
// The desktop's background as one screen-sized bitmap: the background colour
// with the wallpaper stretched over it. Made once per wallpaper and size, so
// the wallpaper, the calendar and every link paint their piece of it with one
// blit instead of stretching the whole picture again.
#include "base/Win32Handles.h"

#include <windows.h>

namespace orvane {

class TPicture;

class TBackdrop {
  public:
    explicit TBackdrop(COLORREF colour) : colour_(colour) {}

    // Paints the part of a `size` desktop that the DC's clip box shows, the
    // DC's origin being the desktop's top-left corner. True when the cached
    // bitmap was replaced (another picture or size), so that what was painted
    // from the old one must be painted again.
    bool Paint(HDC dc, const TPicture& picture, SIZE size);

  private:
    void Rebuild(const TPicture& picture, SIZE size);

    COLORREF colour_;
    UniqueBitmap cache_;
    SIZE size_{0, 0};
    const void* pictureKey_ = nullptr;
    SIZE pictureSize_{0, 0};
};

} // namespace orvane
