#pragma once
// The largest picture the shell loads from a file (a wallpaper, a picked
// picture). A file's header may promise any size, so the size is checked
// before anything is decoded or allocated.
#include <cstdint>
#include <string>

namespace orvane {

constexpr uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;

// Raises ShellError when `path` is no readable BMP file or its header
// promises more than kMaxPicturePixels pixels.
void CheckBitmapFileSize(const std::string& path);

} // namespace orvane
