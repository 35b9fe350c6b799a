#include "widgets/Image.h"

#include "base/Config.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "paint/Dib.h"
#include "paint/PictureLimits.h"

#include <algorithm>
#include <cctype>

namespace orvane {

namespace {

constexpr char kNotABitmap[] = "Picture: not a bitmap";

SIZE SizeOfIcon(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        throw ShellError("Picture: not an icon");
    // GetIconInfo hands out copies of both bitmaps; they are ours to delete.
    UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    if (color)
        return BitmapSize(color.get(), kNotABitmap);
    SIZE size = BitmapSize(mask.get(), kNotABitmap);
    size.cy /= 2; // a monochrome icon stacks its AND and XOR masks
    return size;
}

} // namespace

void TPicture::Changed() {
    if (OnChange)
        OnChange();
}

void TPicture::SetBitmap(HBITMAP bitmap) {
    if (!bitmap) {
        Clear();
        return;
    }
    SIZE size = BitmapSize(bitmap, kNotABitmap);
    UniqueBitmap copy(
        static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!copy)
        ThrowLastError("Picture: copying a bitmap");
    icon_.reset();
    bitmap_ = std::move(copy);
    size_ = size;
    Changed();
}

void TPicture::AdoptBitmap(HBITMAP bitmap) {
    UniqueBitmap owned(bitmap);
    if (!owned) {
        Clear();
        return;
    }
    SIZE size = BitmapSize(owned.get(), kNotABitmap);
    icon_.reset();
    bitmap_ = std::move(owned);
    size_ = size;
    Changed();
}

void TPicture::SetIcon(HICON icon) {
    if (!icon) {
        Clear();
        return;
    }
    SIZE size = SizeOfIcon(icon);
    UniqueIcon copy(CopyIcon(icon));
    if (!copy)
        ThrowLastError("Picture: copying an icon");
    bitmap_.reset();
    icon_ = std::move(copy);
    size_ = size;
    Changed();
}

void TPicture::Clear() {
    if (Empty())
        return;
    bitmap_.reset();
    icon_.reset();
    size_ = SIZE{0, 0};
    Changed();
}

void TPicture::LoadFromFile(const std::string& path) {
    std::string extension = LowerExtension(path);
    if (extension == ".bmp") {
        // A header may promise any size: checked before the platform allocates it.
        CheckBitmapFileSize(path);
        UniqueBitmap bitmap(
            static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0,
                                            LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        if (!bitmap)
            ThrowLastError("Picture: loading " + path);
        AdoptBitmap(bitmap.release());
    } else if (extension == ".ico") {
        UniqueIcon icon(static_cast<HICON>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_ICON, 0, 0,
                                                      LR_LOADFROMFILE | LR_DEFAULTSIZE)));
        if (!icon)
            ThrowLastError("Picture: loading " + path);
        SIZE size = SizeOfIcon(icon.get());
        bitmap_.reset();
        icon_ = std::move(icon);
        size_ = size;
        Changed();
    } else {
        throw ShellError("Picture: unknown picture format: " + path);
    }
}

void TPicture::Draw(HDC dc, const RECT& rect, bool transparent) const {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    if (icon_) {
        DrawIconEx(dc, rect.left, rect.top, icon_.get(), width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!bitmap_)
        return;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source)
        throw ShellError("Picture: no memory device context");
    SelectedObject selected(source.get(), bitmap_.get());
    if (transparent) {
        COLORREF key = GetPixel(source.get(), 0, size_.cy - 1);
        GdiTransparentBlt(dc, rect.left, rect.top, width, height, source.get(), 0, 0, size_.cx,
                          size_.cy, key);
        return;
    }
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, width, height, source.get(), 0, 0, size_.cx, size_.cy,
               SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

TImage::TImage(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_.Empty())
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    Invalidate();
}

void TImage::SetCenter(bool center) {
    center_ = center;
    Invalidate();
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    PictureChanged();
}

RECT TImage::DestRect() const {
    RECT client = ClientRect();
    if (stretch_)
        return client;
    RECT rect{0, 0, picture_.Width(), picture_.Height()};
    if (center_)
        OffsetRect(&rect, (client.right - rect.right) / 2, (client.bottom - rect.bottom) / 2);
    return rect;
}

void TImage::Paint(TCanvas& canvas) {
    // Whatever the picture leaves uncovered shows the parent, as on a dialog.
    PaintParentBackground(canvas);
    if (!picture_.Empty())
        picture_.Draw(canvas.Handle(), DestRect(), Transparent());
}

void TImage::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(BoolProperty(
        "Stretch", [this] { return stretch_; }, [this](bool v) { SetStretch(v); }));
    properties.push_back(BoolProperty(
        "Center", [this] { return center_; }, [this](bool v) { SetCenter(v); }));
    properties.push_back(BoolProperty(
        "Transparent", [this] { return Transparent(); }, [this](bool v) { SetTransparent(v); }));
    properties.push_back(BoolProperty(
        "AutoSize", [this] { return autoSize_; }, [this](bool v) { SetAutoSize(v); }));
}

} // namespace orvane
