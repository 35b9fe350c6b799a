#pragma once
// Most-recently-used lists kept in one section of the configuration file under
// the keys "0" to "9", "0" being the newest.
#include "base/Config.h"

#include <string>

namespace orvane {

constexpr size_t kHistoryLength = 10;

// Moves `item` to the front of the list in `section` (adding it when new) and
// rewrites the section; configuration-file errors reach the caller.
void AddToHistory(const IniFile& file, const std::string& section, const std::string& item);
void AddToHistory(const std::string& section, const std::string& item);

} // namespace orvane
