#pragma once
// The 16 x 16 image that shows one notify icon in the notification panel,
// drawn through its alpha over the panel.
#include "base/Win32Handles.h"
#include "widgets/Image.h"
#include "tray/IconPixels.h"

#include <optional>
#include <string>

namespace orvane {

class TTrayIconImage : public TImage {
    ORVANE_COMPONENT(TTrayIconImage, TImage)
  public:
    explicit TTrayIconImage(TComponent* owner);

    // The icon as a 16 x 16 picture; a null icon leaves the place empty.
    // ShellError (and an empty place) when the handle is no icon.
    void ShowIcon(HICON icon);
    void ShowPixels(const TIconPixels& pixels);
    void ClearPicture();
    void CopyPictureFrom(const TTrayIconImage& other);

    bool HasPicture() const { return pixels_.has_value(); }
    const std::optional<TIconPixels>& IconPixels() const { return pixels_; }

    // The tip shows as the hint and is the control's window text.
    void SetTip(const std::string& tip);

  protected:
    void Paint(TCanvas& canvas) override;

  private:
    std::optional<TIconPixels> pixels_;
    UniqueBitmap dib_; // the pixels as a DIB section, made at the first paint
    void* dibBits_ = nullptr;
    bool dibCurrent_ = false;
};

} // namespace orvane
