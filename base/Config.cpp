#include "base/Config.h"

#include "base/ShellError.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "base/Utf.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace orvane {

namespace {

constexpr size_t kValueUnits = 2047;         // values are read up to 2047 characters
constexpr size_t kSectionNamesUnits = 16384; // key names of one section

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
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return Utf8(path);
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

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string LowerExtension(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot);
    return LowerCase(extension);
}

std::string ConfigFilePath() {
    return ReplaceExtension(ExecutablePath(), ".ini");
}
std::string LogFilePath() {
    return ReplaceExtension(ExecutablePath(), ".log");
}

std::string WindowsFolderPath() {
    wchar_t buffer[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        ThrowLastError("GetWindowsDirectory");
    return Utf8(std::wstring_view(buffer, n));
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

namespace {

// The configuration file and language files are small; a file far larger is
// not one of them and is read as missing rather than filling the memory.
constexpr size_t kLargestIniFile = 32u * 1024 * 1024;

// The file's text, or nothing when it is missing or cannot be read: a read
// never fails.
std::optional<IniText> ReadIni(const std::string& path) {
    try {
        if (auto bytes = ReadFileBytes(path, kLargestIniFile))
            return IniText(DecodeText(*bytes).text);
    } catch (const ShellError&) {
    }
    return std::nullopt;
}

// Values are read up to 2047 characters, as the platform's reader gives them.
std::string CutValue(const std::string& value) {
    const std::wstring wide = Wide(value);
    if (wide.size() <= kValueUnits)
        return value;
    size_t cut = kValueUnits;
    if (cut > 0 && wide[cut - 1] >= 0xD800 && wide[cut - 1] <= 0xDBFF)
        --cut; // never half a surrogate pair
    return Utf8(std::wstring_view(wide.data(), cut));
}

} // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    const std::optional<IniText> text = ReadIni(path_);
    if (!text)
        return fallback;
    const std::optional<std::string> value = text->Find(section, key);
    return value ? CutValue(UnquoteIniValue(*value)) : fallback;
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t fallback) const {
    std::string text = ReadString(section, key, "");
    return ParseIniInteger(text).value_or(fallback);
}

IniPairs IniFile::ReadSection(const std::string& section) const {
    IniPairs pairs;
    const std::optional<IniText> text = ReadIni(path_);
    if (!text)
        return pairs;
    // Key names are listed up to 16,384 units, each counting its length plus
    // one: keys beyond that are not seen.
    size_t names = 0;
    for (auto& [key, value] : text->Section(section)) {
        names += Wide(key).size() + 1;
        if (names >= kSectionNamesUnits)
            break;
        // The first of two keys of the same name is the one read.
        bool seen = false;
        for (const auto& earlier : pairs)
            seen = seen || SameIniName(earlier.first, key);
        if (!seen)
            pairs.emplace_back(key, CutValue(UnquoteIniValue(value)));
    }
    return pairs;
}

IniPairs IniFile::ReadSectionAtOnce(const std::string& section) const {
    const std::optional<IniText> text = ReadIni(path_);
    return text ? text->Section(section) : IniPairs();
}

void IniFile::Edit(const std::function<void(IniText&)>& change) const {
    try {
        TDecodedText decoded;
        if (auto bytes = ReadFileBytes(path_, kLargestIniFile))
            decoded = DecodeText(*bytes);
        IniText text(decoded.text);
        change(text);
        TextEncoding encoding = decoded.encoding;
        ReplaceFileBytes(path_, EncodeText(text.Text(), encoding, decoded.codePage));
    } catch (const ShellError&) {
        throw ShellError("Unable to write to " + path_);
    }
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
    Edit([&](IniText& text) { text.Set(section, key, value); });
}

void IniFile::WriteInteger(const std::string& section, const std::string& key,
                           int32_t value) const {
    WriteString(section, key, std::to_string(value));
}

void IniFile::EraseSection(const std::string& section) const {
    Edit([&](IniText& text) { text.EraseSection(section); });
}

void IniFile::WriteStrings(const std::string& section, const IniPairs& pairs) const {
    Edit([&](IniText& text) {
        for (const auto& [key, value] : pairs)
            text.Set(section, key, value);
    });
}

void IniFile::WriteSection(const std::string& section, const IniPairs& pairs) const {
    Edit([&](IniText& text) { text.ReplaceSection(section, pairs); });
}

} // namespace orvane
