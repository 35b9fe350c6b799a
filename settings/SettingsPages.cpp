#include "settings/SettingsPages.h"

#include <array>

namespace orvane {

namespace {

struct PageLine {
    const char* text;
    int page;
};

// The pages lie in the notebook in another order than the list shows them:
// Clock (under Taskbar) comes before Language in the list.
constexpr std::array<PageLine, 7> kLines{{
    {"Orvane Panel", pgGroups},
    {"  Groups", pgGroups},
    {"Desktop", pgWallpaper},
    {"  Wallpaper", pgWallpaper},
    {"Taskbar", pgClock},
    {"  Clock", pgClock},
    {"Language", pgLanguage},
}};

} // namespace

std::vector<std::string> SettingsPageLines() {
    std::vector<std::string> lines;
    for (const PageLine& line : kLines)
        lines.emplace_back(line.text);
    return lines;
}

int PageOfSettingsLine(int line) {
    if (line < 0 || line >= static_cast<int>(kLines.size()))
        return -1;
    return kLines[static_cast<size_t>(line)].page;
}

} // namespace orvane
