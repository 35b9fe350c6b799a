#pragma once
// The desktop's picture: wallpaper\wallpaper.bmp under the program folder,
// seeded once from wallpaper\wallpaper.jpg when the bitmap is missing.
#include <windows.h>

#include <string>

namespace orvane {

class TPicture;

// Loads `folder`\wallpaper.bmp into `picture`, making it first from
// `folder`\wallpaper.jpg when it does not exist yet. A picture of another
// size than `shown` (the desktop's; {0, 0}: as it is) is kept only as the
// desktop shows it, stretched to that size; the file keeps its own. Raises ShellError
// when neither file can be read or the bitmap cannot be written.
void LoadWallpaper(TPicture& picture, const std::string& folder, SIZE shown = SIZE{0, 0});

} // namespace orvane
