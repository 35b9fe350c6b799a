#pragma once
// A list of small images (16 x 16 by default) that tool bars, buttons and
// menus draw by index. Icons and bitmaps are copied in; the list owns the copies.
#include "base/Win32Handles.h"
#include "paint/Canvas.h"
#include "toolkit/Component.h"

#include <windows.h>

namespace orvane {

class TImageList : public TComponent {
    ORVANE_COMPONENT(TImageList, TComponent)
  public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Each returns the index of the image added; the caller keeps its handle.
    int AddIcon(HICON icon);
    // A bitmap wider than one image adds one image per width. Pixels of the
    // colour `mask` are left transparent.
    int AddBitmap(HBITMAP bitmap, COLORREF mask);
    void Delete(int index);
    void Clear();

    // The image as a new icon; raises ShellError for an index out of range.
    UniqueIcon Icon(int index) const;
    // Draws the image with its top-left corner at (x, y); a disabled image is
    // drawn embossed and grey. An index out of range draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

    HIMAGELIST Handle() const { return list_.get(); }

  private:
    int width_;
    int height_;
    UniqueImageList list_;
};

// Draws one image of any image list, as TImageList::Draw does.
void DrawImageListImage(HDC dc, HIMAGELIST list, int index, int x, int y, bool enabled);

} // namespace orvane
