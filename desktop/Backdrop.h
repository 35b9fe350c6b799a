#pragma once
// The desktop's background as one screen-sized bitmap: the background colour
// with the wallpaper stretched over it. Made once per wallpaper and size, so
// the wallpaper, the calendar and every link paint their piece of it with one
// blit instead of stretching the whole picture again. A wallpaper already of
// the desktop's size is that bitmap itself: no copy of it is kept.
#include "base/Win32Handles.h"

#include <windows.h>

namespace orvane {

class TPicture;

// `picture` stretched over a `size` bitmap filled with `background` first,
// smoothly (the backdrop's way); null when it cannot be made.
UniqueBitmap StretchedPicture(const TPicture& picture, SIZE size, COLORREF background);

class TBackdrop {
  public:
    explicit TBackdrop(COLORREF colour) : colour_(colour) {}

    // Paints the part of a `size` desktop that the DC's clip box shows, the
    // DC's origin being the desktop's top-left corner. True when the backdrop
    // was made anew for another picture or size, so that what was painted
    // from the old one must be painted again.
    bool Paint(HDC dc, const TPicture& picture, SIZE size);
    // A stretched copy of the picture is kept (the picture is not of the
    // desktop's size).
    bool HoldsCopy() const { return static_cast<bool>(cache_); }

  private:
    void Rebuild(const TPicture& picture, SIZE size);

    COLORREF colour_;
    bool built_ = false;
    UniqueBitmap cache_;
    SIZE size_{0, 0};
    const void* pictureKey_ = nullptr;
    SIZE pictureSize_{0, 0};
};

} // namespace orvane
