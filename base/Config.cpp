#include "base/Config.h"

#include "base/ShellError.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace orvane {

namespace {

constexpr DWORD kValueBuffer = 2048;         // values are read up to 2047 characters
constexpr DWORD kSectionNamesBuffer = 16384; // key names of one section

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ProgramFolder() {
    std::string path = ExecutablePath();
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
    size_t slash = path.find_last_of("\\/:");
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string LowerExtension(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string ConfigFilePath() {
    return ReplaceExtension(ExecutablePath(), ".ini");
}
std::string LogFilePath() {
    return ReplaceExtension(ExecutablePath(), ".log");
}

std::string WindowsFolderPath() {
    char buffer[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        ThrowLastError("GetWindowsDirectory");
    return buffer;
}

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // Decimal values must fit the signed range; hexadecimal ones may use all
    // 32 bits (colour values such as $FFFFFFFF).
    if (base == 10) {
        if (negative ? value > 0x80000000ull : value > 0x7FFFFFFFull)
            return std::nullopt;
        return negative ? static_cast<int32_t>(-static_cast<int64_t>(value))
                        : static_cast<int32_t>(value);
    }
    int32_t result = static_cast<int32_t>(static_cast<uint32_t>(value));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(result)) : result;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    char buffer[kValueBuffer] = {};
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                       kValueBuffer, path_.c_str());
    return std::string(buffer, n);
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t fallback) const {
    std::string text = ReadString(section, key, "");
    return ParseIniInteger(text).value_or(fallback);
}

IniPairs IniFile::ReadSection(const std::string& section) const {
    std::string names(kSectionNamesBuffer, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", names.data(),
                                       kSectionNamesBuffer, path_.c_str());
    IniPairs pairs;
    for (size_t start = 0; start < n;) {
        size_t end = names.find('\0', start);
        if (end == std::string::npos || end > n)
            end = n;
        if (end > start) {
            std::string key = names.substr(start, end - start);
            pairs.emplace_back(key, ReadString(section, key, ""));
        }
        start = end + 1;
    }
    return pairs;
}

IniPairs IniFile::ReadSectionAtOnce(const std::string& section) const {
    std::string lines(kSectionNamesBuffer, '\0');
    DWORD n = 0;
    for (;;) {
        n = GetPrivateProfileSectionA(section.c_str(), lines.data(),
                                      static_cast<DWORD>(lines.size()), path_.c_str());
        // A full buffer returns its size less two: read again with more room.
        if (n + 2 < lines.size())
            break;
        lines.resize(lines.size() * 2);
    }
    IniPairs pairs;
    for (size_t start = 0; start < n;) {
        size_t end = lines.find('\0', start);
        if (end == std::string::npos || end > n)
            end = n;
        const std::string line = lines.substr(start, end - start);
        const size_t equals = line.find('=');
        if (!line.empty())
            pairs.emplace_back(line.substr(0, equals),
                               equals == std::string::npos ? "" : line.substr(equals + 1));
        start = end + 1;
    }
    return pairs;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw ShellError("Unable to write to " + path_);
}

void IniFile::WriteInteger(const std::string& section, const std::string& key,
                           int32_t value) const {
    WriteString(section, key, std::to_string(value));
}

void IniFile::EraseSection(const std::string& section) const {
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path_.c_str()))
        throw ShellError("Unable to write to " + path_);
}

} // namespace orvane
