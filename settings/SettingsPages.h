#pragma once
// The settings dialog's page list: its lines and the page each line shows.
// Sub-entries are indented by two blanks; a heading shows the page of its
// first sub-entry, and Language has none.
#include <string>
#include <vector>

namespace orvane {

enum TSettingsPage : int {
    pgGroups = 0,
    pgWallpaper = 1,
    pgLanguage = 2,
    pgClock = 3,
};

// The designed lines, top to bottom.
std::vector<std::string> SettingsPageLines();
// The page a line of the list shows; -1 for no line (or one past the list).
int PageOfSettingsLine(int line);

} // namespace orvane
