#include "desktop/Backdrop.h"

#include "paint/Dib.h"
#include "widgets/Image.h"

namespace orvane {

void TBackdrop::Rebuild(const TPicture& picture, SIZE size) {
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(size.cx, size.cy, &bits);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    {
        SelectedObject selected(dc.get(), bitmap.get());
        RECT all{0, 0, size.cx, size.cy};
        UniqueBrush brush(CreateSolidBrush(colour_));
        FillRect(dc.get(), &all, brush.get());
        if (!picture.Empty() && picture.Bitmap()) {
            UniqueMemoryDc source(CreateCompatibleDC(nullptr));
            SelectedObject picked(source.get(), picture.Bitmap());
            // Smooth scaling once here pays for itself: every paint is a blit.
            SetStretchBltMode(dc.get(), HALFTONE);
            SetBrushOrgEx(dc.get(), 0, 0, nullptr);
            StretchBlt(dc.get(), 0, 0, size.cx, size.cy, source.get(), 0, 0, picture.Width(),
                       picture.Height(), SRCCOPY);
        } else if (!picture.Empty()) {
            picture.Draw(dc.get(), all, false);
        }
    }
    cache_ = std::move(bitmap);
    size_ = size;
    pictureKey_ = picture.Bitmap() ? static_cast<const void*>(picture.Bitmap())
                                   : static_cast<const void*>(picture.Icon());
    pictureSize_ = SIZE{picture.Width(), picture.Height()};
}

bool TBackdrop::Paint(HDC dc, const TPicture& picture, SIZE size) {
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    const void* key = picture.Bitmap() ? static_cast<const void*>(picture.Bitmap())
                                       : static_cast<const void*>(picture.Icon());
    bool replaced = false;
    if (!cache_ || size.cx != size_.cx || size.cy != size_.cy || key != pictureKey_ ||
        picture.Width() != pictureSize_.cx || picture.Height() != pictureSize_.cy) {
        // The first picture is no replacement: nothing was painted from another.
        replaced = static_cast<bool>(cache_);
        Rebuild(picture, size);
    }
    RECT clip{0, 0, size.cx, size.cy};
    if (GetClipBox(dc, &clip) == ERROR)
        clip = RECT{0, 0, size.cx, size.cy};
    const RECT all{0, 0, size.cx, size.cy};
    IntersectRect(&clip, &clip, &all);
    if (IsRectEmpty(&clip))
        return replaced;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), cache_.get());
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, source.get(),
           clip.left, clip.top, SRCCOPY);
    return replaced;
}

} // namespace orvane
