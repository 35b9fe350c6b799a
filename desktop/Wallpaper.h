#pragma once
// The desktop's picture: wallpaper\wallpaper.bmp under the program folder,
// seeded once from wallpaper\wallpaper.jpg when the bitmap is missing.
#include <string>

namespace orvane {

class TPicture;

// Loads `folder`\wallpaper.bmp into `picture`, making it first from
// `folder`\wallpaper.jpg when it does not exist yet. Raises ShellError when
// neither file can be read or the bitmap cannot be written.
void LoadWallpaper(TPicture& picture, const std::string& folder);

} // namespace orvane
