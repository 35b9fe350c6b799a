#pragma once
// The desktop's picture: wallpaper\wallpaper.bmp under the program folder,
// seeded once from wallpaper\wallpaper.jpg when the bitmap is missing.
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

class TPicture;

// Pixels as three bytes each (red, green, blue), rows top-down.
struct TRgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// Decodes a JPEG file. A missing, corrupt or truncated file raises a
// ShellError with libjpeg's message; the process goes on.
TRgbImage DecodeJpegFile(const std::string& path);
// Writes a 24-bit bottom-up BMP file; ShellError when it cannot be written.
void WriteBmpFile(const std::string& path, const TRgbImage& image);

// Loads `folder`\wallpaper.bmp into `picture`, making it first from
// `folder`\wallpaper.jpg when it does not exist yet. Raises ShellError when
// neither file can be read or the bitmap cannot be written.
void LoadWallpaper(TPicture& picture, const std::string& folder);

} // namespace orvane
