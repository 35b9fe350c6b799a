#include "system/FolderListing.h"

#include "base/ShellError.h"
#include "base/Win32Handles.h"

#include <string_view>

namespace orvane {

std::vector<TFolderEntry> ListFolder(const std::string& folder, TListingFailure onFailure) {
    std::vector<TFolderEntry> entries;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search) {
        const DWORD error = GetLastError();
        if (onFailure == TListingFailure::Raise && error != ERROR_FILE_NOT_FOUND &&
            error != ERROR_PATH_NOT_FOUND)
            ThrowLastError("Cannot list folder \"" + folder + "\"");
        return entries;
    }
    do {
        // Not every file system lists "." and ".." first, and a drive root has
        // none: they go by name.
        const std::string_view name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        entries.push_back({found.cFileName,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0});
    } while (FindNextFileA(search.get(), &found));
    return entries;
}

} // namespace orvane
