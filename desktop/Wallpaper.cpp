#include "desktop/Wallpaper.h"

#include "paint/PictureFiles.h"
#include "system/FileSystem.h"
#include "widgets/Image.h"

namespace orvane {

void LoadWallpaper(TPicture& picture, const std::string& folder) {
    const std::string bitmap = folder + "\\wallpaper.bmp";
    if (!FileExists(bitmap))
        WriteBmpFile(bitmap, DecodeJpegFile(folder + "\\wallpaper.jpg"));
    picture.LoadFromFile(bitmap);
}

} // namespace orvane
