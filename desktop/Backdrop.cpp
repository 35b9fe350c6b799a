#include "desktop/Backdrop.h"

#include "paint/Dib.h"
#include "widgets/Image.h"

namespace orvane {

namespace {

const void* KeyOf(const TPicture& picture) {
    return picture.Bitmap() ? static_cast<const void*>(picture.Bitmap())
                            : static_cast<const void*>(picture.Icon());
}

} // namespace

UniqueBitmap StretchedPicture(const TPicture& picture, SIZE size, COLORREF background) {
    // 24 bits a pixel: the same colours as 32 (whose fourth byte GDI leaves
    // unused) in 2.25 MB instead of 3 MB at 1024 x 768, kept as long as the
    // desktop lives. A whole repaint from it measured 0.7 to 0.9 ms under
    // Wine against 0.1 to 0.2 ms from 32 bits: not a difference one sees.
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(size.cx, size.cy, &bits, 24);
    if (!bitmap)
        return bitmap;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), bitmap.get());
    RECT all{0, 0, size.cx, size.cy};
    UniqueBrush brush(CreateSolidBrush(background));
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
    return bitmap;
}

void TBackdrop::Rebuild(const TPicture& picture, SIZE size) {
    // A bitmap that covers the desktop exactly is shown as it is: stretching
    // it to its own size would only copy it.
    if (picture.Bitmap() && picture.Width() == size.cx && picture.Height() == size.cy)
        cache_.reset();
    else
        cache_ = StretchedPicture(picture, size, colour_);
    built_ = true;
    size_ = size;
    pictureKey_ = KeyOf(picture);
    pictureSize_ = SIZE{picture.Width(), picture.Height()};
}

bool TBackdrop::Paint(HDC dc, const TPicture& picture, SIZE size) {
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    bool replaced = false;
    if (!built_ || size.cx != size_.cx || size.cy != size_.cy || KeyOf(picture) != pictureKey_ ||
        picture.Width() != pictureSize_.cx || picture.Height() != pictureSize_.cy) {
        // The first picture is no replacement: nothing was painted from another.
        replaced = built_;
        Rebuild(picture, size);
    }
    HBITMAP shown = cache_ ? cache_.get() : picture.Bitmap();
    if (!shown)
        return replaced;
    RECT clip{0, 0, size.cx, size.cy};
    if (GetClipBox(dc, &clip) == ERROR)
        clip = RECT{0, 0, size.cx, size.cy};
    const RECT all{0, 0, size.cx, size.cy};
    IntersectRect(&clip, &clip, &all);
    if (IsRectEmpty(&clip))
        return replaced;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), shown);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, source.get(),
           clip.left, clip.top, SRCCOPY);
    return replaced;
}

} // namespace orvane
