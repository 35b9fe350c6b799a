#include "system/Registry.h"

#include "base/ShellError.h"
#include "base/Utf.h"

namespace orvane {

namespace {

// A value that grows between the size query and the read is read again, a
// few times at most.
constexpr int kReadAttempts = 4;

[[noreturn]] void ThrowUnreadable(const std::string& name, LONG status) {
    throw ShellError("Unable to read the value " + name + ": " +
                     SystemErrorText(static_cast<DWORD>(status)));
}

// A value that was read and holds text; ShellError otherwise.
void CheckTextValue(const std::string& name, LONG status, DWORD type) {
    if (status != ERROR_SUCCESS)
        ThrowUnreadable(name, status);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ShellError("Invalid data type for '" + name + "'");
}

} // namespace

UniqueRegKey OpenRegKey(HKEY root, const std::string& path, REGSAM access) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExW(root, Wide(path).c_str(), 0, access, &opened);
    return UniqueRegKey(status == ERROR_SUCCESS ? opened : nullptr);
}

UniqueRegKey CreateRegKey(HKEY root, const std::string& path, REGSAM access) {
    HKEY opened = nullptr;
    const LONG status =
        RegCreateKeyExW(root, Wide(path).c_str(), 0, nullptr, 0, access, nullptr, &opened, nullptr);
    return UniqueRegKey(status == ERROR_SUCCESS ? opened : nullptr);
}

std::vector<std::string> RegValueNames(HKEY key) {
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<std::string> names;
    // Lengths are in UTF-16 units, without the closing NUL.
    std::vector<wchar_t> buffer(longest + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (RegEnumValueW(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.push_back(Utf8Until(buffer.data(), length));
    }
    return names;
}

std::optional<std::string> ReadRegText(HKEY key, const std::string& name) {
    const std::wstring wideName = Wide(name);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD type = 0, size = 0;
        LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        CheckTextValue(name, status, type);
        // An odd byte count leaves half a unit, which is dropped.
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &got);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        CheckTextValue(name, status, type);
        // The stored text may or may not carry its closing NUL.
        return Utf8Until(data.data(), std::min<size_t>(got / sizeof(wchar_t), data.size()));
    }
    ThrowUnreadable(name, ERROR_MORE_DATA);
}

LONG WriteRegText(HKEY key, const std::string& name, const std::string& value) {
    const std::wstring text = Wide(value);
    return RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG DeleteRegValue(HKEY key, const std::string& name) {
    return RegDeleteValueW(key, Wide(name).c_str());
}

} // namespace orvane
