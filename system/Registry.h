#pragma once
// Registry keys and text values by UTF-8 names, through the platform's wide
// calls: a value or key name in any script reads and writes as it is.
#include "base/Win32Handles.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The key `path` under `root`; empty when it is missing or refused.
UniqueRegKey OpenRegKey(HKEY root, const std::string& path, REGSAM access);
// The key, created when it is missing; empty when it cannot be.
UniqueRegKey CreateRegKey(HKEY root, const std::string& path, REGSAM access);

// The names of the key's values, in the platform's order.
std::vector<std::string> RegValueNames(HKEY key);

// A text value (REG_SZ or REG_EXPAND_SZ, unexpanded), with or without its
// stored closing NUL; nothing when the value is missing. ShellError when it
// cannot be read or holds another type than text.
std::optional<std::string> ReadRegText(HKEY key, const std::string& name);

// Writes `value` as REG_SZ; the platform's status.
LONG WriteRegText(HKEY key, const std::string& name, const std::string& value);

// Deletes the value; the platform's status.
LONG DeleteRegValue(HKEY key, const std::string& name);

} // namespace orvane
