#include "settings/GroupFolders.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"
#include "system/FileEntries.h"
#include "system/FileSystem.h"
#include "system/Shortcuts.h"

#include <windows.h>

namespace orvane {

namespace {

std::vector<TGroupItem> NamesBefore(const std::string& folder, const std::string& marker) {
    std::vector<TGroupItem> names;
    for (const TFolderEntry& entry : ListFolder(folder)) {
        size_t at = entry.name.find(marker);
        if (at != std::string::npos)
            names.push_back({entry.name.substr(0, at), entry.name});
    }
    return names;
}

// A file listed under exactly `name` in `folder`: the platform also finds an
// entry by its short alias or with a trailing dot or blank dropped.
bool IsListedFile(const std::string& folder, const std::string& name) {
    if (name.empty() || name.find_first_of("\\/*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW(Wide(folder + "\\" + name).c_str(), &found));
    return search && Utf8Until(found.cFileName, MAX_PATH) == name &&
           !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string GroupPath(const std::string& groupsFolder, const std::string& name) {
    return groupsFolder + "\\" + name;
}

} // namespace

bool IsGroupName(const std::string& name) {
    // One folder directly under Groups: "..\\x", "a/b" or "  " (which the file
    // system would trim to the Groups folder itself) name another place.
    return IsValidEntryName(name);
}

std::vector<std::string> ListGroups(const std::string& groupsFolder) {
    std::vector<std::string> groups;
    for (const TFolderEntry& entry : ListFolder(groupsFolder))
        if (entry.folder)
            groups.push_back(entry.name);
    return groups;
}

std::vector<TGroupItem> ListGroupItems(const std::string& groupFolder) {
    return NamesBefore(groupFolder, ".lnk");
}

std::vector<std::string> ListLanguages(const std::string& languagesFolder) {
    std::vector<std::string> names;
    for (TGroupItem& language : NamesBefore(languagesFolder, ".lng"))
        names.push_back(std::move(language.name));
    return names;
}

std::string ShortcutNameFor(const std::string& target) {
    size_t slash = target.find_last_of("\\/");
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name + ".lnk";
}

void CreateGroup(const std::string& groupsFolder, const std::string& name) {
    if (IsGroupName(name))
        CreateDirectoryW(Wide(GroupPath(groupsFolder, name)).c_str(), nullptr);
}

bool RenameGroup(const std::string& groupsFolder, const std::string& from, const std::string& to) {
    if (!IsGroupName(from) || !IsGroupName(to))
        return false;
    return MoveFileW(Wide(GroupPath(groupsFolder, from)).c_str(),
                     Wide(GroupPath(groupsFolder, to)).c_str()) != FALSE;
}

void DeleteGroup(const std::string& groupsFolder, const std::string& name) {
    if (!IsGroupName(name))
        return;
    const std::string folder = GroupPath(groupsFolder, name);
    for (const TFolderEntry& entry : ListFolder(folder))
        if (!entry.folder)
            DeleteFileW(Wide(folder + "\\" + entry.name).c_str());
    RemoveDirectoryW(Wide(folder).c_str());
}

bool CreateNewShortcut(const std::string& target, const std::string& file) {
    const std::wstring path = Wide(file);
    {
        // CREATE_NEW fails for any existing entry, folders included.
        UniqueFileHandle reserved(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!reserved) {
            const DWORD error = GetLastError();
            if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
                return false;
            SetLastError(error);
            ThrowLastError("Unable to write to " + file);
        }
    }
    try {
        CreateShortcut(target, file, "", "");
    } catch (...) {
        DeleteFileW(path.c_str()); // the empty file taken for it
        throw;
    }
    return true;
}

void DeleteGroupItem(const std::string& groupFolder, const std::string& file) {
    if (IsListedFile(groupFolder, file))
        DeleteFileW(Wide(groupFolder + "\\" + file).c_str());
}

} // namespace orvane
