#pragma once
// The entries of one folder, as the start menus, groups, quick launch,
// startup folders and desktop links read them.
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

} // namespace orvane
