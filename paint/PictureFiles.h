#pragma once
// Picture files the shell reads and writes itself: JPEG pictures decoded with
// libjpeg (the wallpaper's seed, a wallpaper the user picks) and 24-bit BMP
// files written whole or not at all.
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

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

} // namespace orvane
