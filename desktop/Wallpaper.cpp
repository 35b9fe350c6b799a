#include "desktop/Wallpaper.h"

#include "desktop/Backdrop.h"
#include "paint/PictureFiles.h"
#include "system/FileSystem.h"
#include "widgets/Image.h"

namespace orvane {

void LoadWallpaper(TPicture& picture, const std::string& folder, SIZE shown) {
    const std::string bitmap = folder + "\\wallpaper.bmp";
    if (!FileExists(bitmap))
        WriteBmpFile(bitmap, DecodeJpegFile(folder + "\\wallpaper.jpg"));
    picture.LoadFromFile(bitmap);
    // The desktop only ever shows the picture stretched to its own size, and
    // keeps that stretched copy beside it (for a photo of 1600 x 1200, 5.8 MB
    // of pixels beside 3 MB): the stretched one is all it needs. It is made
    // the backdrop's way, so what the desktop shows does not change.
    if (shown.cx <= 0 || shown.cy <= 0 || !picture.Bitmap() ||
        (picture.Width() == shown.cx && picture.Height() == shown.cy))
        return;
    if (UniqueBitmap scaled = StretchedPicture(picture, shown, RGB(0, 0, 0)))
        picture.AdoptBitmap(scaled.release());
}

} // namespace orvane
