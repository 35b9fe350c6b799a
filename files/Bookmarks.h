#pragma once
// Bookmarked folders in [Bookmarks] of the configuration file: keys "0" to
// "9", the newest first, each folder once.
#include "base/Config.h"

#include <string>

namespace orvane {

constexpr size_t kMaxBookmarks = 10;

// Puts `folder` first unless it is bookmarked already (compared exactly);
// the oldest bookmark beyond ten goes. Configuration-file errors reach the
// caller.
void AddBookmark(const IniFile& file, const std::string& folder);

} // namespace orvane
