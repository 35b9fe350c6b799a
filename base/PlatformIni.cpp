#include "base/PlatformIni.h"

#include "base/ShellError.h"
#include "base/Utf.h"

#include <windows.h>

namespace orvane {

namespace {
constexpr DWORD kValueBuffer = 2048; // values are read up to 2047 characters
} // namespace

std::string PlatformIniFile::ReadString(const std::string& section, const std::string& key,
                                        const std::string& fallback) const {
    wchar_t buffer[kValueBuffer] = {};
    const DWORD n =
        GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(),
                                 buffer, kValueBuffer, Wide(path_).c_str());
    return Utf8(std::wstring_view(buffer, n));
}

void PlatformIniFile::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value) const {
    if (!WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                    Wide(path_).c_str()))
        throw ShellError("Unable to write to " + path_);
}

} // namespace orvane
