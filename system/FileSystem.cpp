#include "system/FileSystem.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <shlobj.h>

#include <string_view>

namespace orvane {

std::vector<TFolderEntry> ListFolder(const std::string& folder, TListingFailure onFailure) {
    std::vector<TFolderEntry> entries;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW(Wide(folder + "\\*").c_str(), &found));
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
        const std::wstring_view name(found.cFileName);
        if (name == L"." || name == L"..")
            continue;
        entries.push_back({Utf8Until(found.cFileName, MAX_PATH),
                           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0});
    } while (FindNextFileW(search.get(), &found));
    return entries;
}

std::string SpecialFolderPath(int csidl) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list)
        return {};
    // The platform writes up to MAX_PATH units.
    wchar_t path[MAX_PATH + 1] = {};
    const bool found = SHGetPathFromIDListW(list, path) != FALSE;
    CoTaskMemFree(list);
    return found ? Utf8Until(path, MAX_PATH) : std::string();
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ExpandEnvironment(const std::string& text) {
    const std::wstring wide = Wide(text);
    const DWORD units = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (units == 0)
        return text;
    std::wstring out(units, L'\0');
    ExpandEnvironmentStringsW(wide.c_str(), out.data(), units);
    return Utf8Until(out.c_str(), out.size());
}

} // namespace orvane
