#pragma once
// Pictures and the image control that shows one: the wallpaper, its preview in
// the settings dialog, the logo of the about box.
#include "base/Win32Handles.h"
#include "toolkit/Control.h"

#include <functional>
#include <string>

namespace orvane {

// A bitmap or an icon, held as a private copy so the caller keeps its own.
class TPicture {
  public:
    bool Empty() const { return !bitmap_ && !icon_; }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    HICON Icon() const { return icon_.get(); }
    int Width() const { return size_.cx; }
    int Height() const { return size_.cy; }

    void SetBitmap(HBITMAP bitmap);
    void SetIcon(HICON icon);
    // Takes the handle over instead of copying it.
    void AdoptBitmap(HBITMAP bitmap);
    void Clear();
    // A .bmp or .ico file, by its extension; ShellError when it cannot be read.
    void LoadFromFile(const std::string& path);

    // Paints the picture into `rect`, stretched to it. A transparent bitmap
    // leaves out the colour of its bottom-left pixel; icons always go through
    // their mask.
    void Draw(HDC dc, const RECT& rect, bool transparent) const;

    std::function<void()> OnChange;

  private:
    void Changed();

    UniqueBitmap bitmap_;
    UniqueIcon icon_;
    SIZE size_{0, 0};
};

// Shows a picture over the parent's look, which stays visible around it and,
// with Transparent, through a bitmap's transparent colour.
class TImage : public TControl {
    ORVANE_COMPONENT(TImage, TControl)
  public:
    explicit TImage(TComponent* owner);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }

    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    // The control takes the picture's size whenever the picture changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // Where the picture goes in the client area.
    RECT DestRect() const;

  protected:
    void Paint(TCanvas& canvas) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    void PictureChanged();

    TPicture picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
};

} // namespace orvane
