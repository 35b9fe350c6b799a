#include "system/FileEntries.h"

#include "base/Text.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <windows.h>
#include <shellapi.h>

namespace orvane {

namespace {

constexpr size_t kLongestName = 255; // UTF-16 units of one path component

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool IsDeviceName(const std::string& name) {
    // The platform reserves these whatever follows the first dot, and with
    // blanks before it.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    base = LowerCase(base);
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
        base == "conout$")
        return true;
    if (base.size() >= 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0)) {
        const std::string digit = base.substr(3);
        // COM1..COM9, LPT1..LPT9, and the superscript digits ¹ ² ³.
        return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "¹" ||
               digit == "²" || digit == "³";
    }
    return false;
}

} // namespace

TEntryKind ExactEntryKind(const std::string& folder, const std::string& name) {
    if (name.empty() || name == "." || name == ".." || HasWildcard(name) ||
        name.find_first_of("\\/") != std::string::npos)
        return TEntryKind::Missing;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW(Wide(folder + name).c_str(), &found));
    if (!search)
        return TEntryKind::Missing;
    // The platform drops trailing dots and blanks and also finds an entry by
    // its short alias: only the entry listed under this very name counts.
    if (Utf8Until(found.cFileName, MAX_PATH) != name)
        return TEntryKind::Missing;
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? TEntryKind::Folder
                                                               : TEntryKind::File;
}

bool IsValidEntryName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    if (name.back() == '.' || name.back() == ' ')
        return false;
    if (!IsValidUtf8(name) || Wide(name).size() > kLongestName)
        return false;
    return !IsDeviceName(name);
}

bool FolderHoldsFolders(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    WIN32_FIND_DATAW entry{};
    UniqueFindHandle search(FindFirstFileW(Wide(folder + "\\*").c_str(), &entry));
    if (!search)
        return false;
    do {
        const std::wstring_view entryName(entry.cFileName);
        if (entryName == L"." || entryName == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return true;
    } while (FindNextFileW(search.get(), &entry));
    return false;
}

bool RecycleEntry(const std::string& path) {
    if (path.empty() || HasWildcard(path))
        return false;
    // The list of paths ends with an empty one: two NULs.
    std::wstring from = Wide(path);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // FOF_NO_CONNECTED_ELEMENTS: "page.htm" must not take "page_files" along.
    operation.fFlags =
        FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_NO_CONNECTED_ELEMENTS;
    const int result = SHFileOperationW(&operation);
    return result == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace orvane
