#include "widgets/ImageList.h"

#include "base/ShellError.h"

#include <string>

namespace orvane {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
    if (width <= 0 || height <= 0)
        throw ShellError("Image list: image size " + std::to_string(width) + " x " +
                         std::to_string(height) + " is not possible");
    list_.reset(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4));
    if (!list_)
        ThrowLastError("ImageList_Create");
}

int TImageList::Count() const {
    return ImageList_GetImageCount(list_.get());
}

int TImageList::AddIcon(HICON icon) {
    if (!icon)
        throw ShellError("Image list: no icon to add");
    int index = ImageList_AddIcon(list_.get(), icon);
    if (index < 0)
        throw ShellError("Image list: the icon could not be added");
    return index;
}

int TImageList::AddBitmap(HBITMAP bitmap, COLORREF mask) {
    if (!bitmap)
        throw ShellError("Image list: no bitmap to add");
    int index = ImageList_AddMasked(list_.get(), bitmap, mask);
    if (index < 0)
        throw ShellError("Image list: the bitmap could not be added");
    return index;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw ShellError("Image list: no image " + std::to_string(index) + " to delete");
    ImageList_Remove(list_.get(), index);
}

void TImageList::Clear() {
    ImageList_RemoveAll(list_.get());
}

UniqueIcon TImageList::Icon(int index) const {
    if (index < 0 || index >= Count())
        throw ShellError("Image list: no image " + std::to_string(index));
    UniqueIcon icon(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
    if (!icon)
        ThrowLastError("ImageList_GetIcon");
    return icon;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    DrawImageListImage(canvas.Handle(), list_.get(), index, x, y, enabled);
}

void DrawImageListImage(HDC dc, HIMAGELIST list, int index, int x, int y, bool enabled) {
    if (!list || index < 0 || index >= ImageList_GetImageCount(list))
        return;
    if (!enabled) {
        // The system's embossed look of disabled images, from an icon of the image.
        UniqueIcon icon(ImageList_GetIcon(list, index, ILD_NORMAL));
        int width = 0, height = 0;
        ImageList_GetIconSize(list, &width, &height);
        if (icon && DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y,
                               width, height, DST_ICON | DSS_DISABLED))
            return;
    }
    ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

} // namespace orvane
