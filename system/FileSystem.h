#pragma once
// What the shell asks of the file system: special folders, a folder's
// entries (start menus, groups, quick launch, startup folders, desktop links),
// whether a file is there.
#include <string>
#include <vector>

namespace orvane {

struct TFolderEntry {
    std::string name;
    bool folder = false;
    bool hidden = false;
};

enum class TListingFailure {
    Empty, // a folder that cannot be listed has no entries
    Raise, // ShellError, unless the folder is simply not there
};

// The folder's entries in listing order, without "." and "..".
std::vector<TFolderEntry> ListFolder(const std::string& folder,
                                     TListingFailure onFailure = TListingFailure::Empty);

// The path of the special folder `csidl` (CSIDL_...); empty when it has none.
std::string SpecialFolderPath(int csidl);

// Whether `path` names a file (not a folder).
bool FileExists(const std::string& path);

// `text` with its %VARIABLE%s replaced by their values, as shortcuts and
// registered icon places may write paths.
std::string ExpandEnvironment(const std::string& text);

} // namespace orvane
