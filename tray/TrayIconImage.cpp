#include "tray/TrayIconImage.h"
#include "paint/Dib.h"

#include "base/ShellError.h"

#include <cstring>

namespace orvane {

TTrayIconImage::TTrayIconImage(TComponent* owner) : TImage(owner) {}

void TTrayIconImage::ShowIcon(HICON icon) {
    if (!icon) {
        ClearPicture();
        return;
    }
    try {
        ShowPixels(IconPixelsFromHandle(icon));
    } catch (...) {
        ClearPicture();
        throw;
    }
}

void TTrayIconImage::ShowPixels(const TIconPixels& pixels) {
    pixels_ = pixels;
    dibCurrent_ = false;
    Invalidate();
}

void TTrayIconImage::ClearPicture() {
    if (!pixels_)
        return;
    pixels_.reset();
    Invalidate();
}

void TTrayIconImage::CopyPictureFrom(const TTrayIconImage& other) {
    if (other.pixels_)
        ShowPixels(*other.pixels_);
    else
        ClearPicture();
}

void TTrayIconImage::Paint(TCanvas& canvas) {
    PaintParentBackground(canvas);
    if (!pixels_)
        return;
    HDC dc = canvas.Handle();
    if (!dib_) {
        dib_ = CreateTopDownDib(kTrayIconSize, kTrayIconSize, &dibBits_);
        if (!dib_)
            ThrowLastError("TTrayIconImage: no bitmap for the icon");
        dibCurrent_ = false;
    }
    if (!dibCurrent_) {
        GdiFlush();
        std::memcpy(dibBits_, pixels_->Pixels.data(), sizeof pixels_->Pixels);
        dibCurrent_ = true;
    }
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), dib_.get());
    RECT target = DestRect();
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, source.get(), 0, 0, kTrayIconSize, kTrayIconSize,
                  blend);
}

void TTrayIconImage::SetTip(const std::string& tip) {
    // Replacing a tooltip costs more than the rest of a change under Wine, and
    // programs often resend the tip they have.
    if (tip != Hint())
        SetHint(tip);
    // Accessibility tools and automation read the tip as the window's text.
    if (tip != Caption())
        SetCaption(tip);
}

} // namespace orvane
