#include "files/FileRows.h"

#include "base/Utf.h"

#include <cstdio>

namespace orvane {

namespace {

constexpr double kUnitStep = 1024.0;
// The ladder stops at terabytes: larger files read as thousands of " T".
constexpr const char* kUnits[] = {"", " k", " M", " G", " T"};
constexpr int kLastUnit = 4;

std::string LocaleText(LCTYPE type, const char* fallback) {
    wchar_t text[16] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, ARRAYSIZE(text)) <= 1)
        return fallback;
    return Utf8(text);
}

} // namespace

TNameParts SplitFileName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return {fileName, {}};
    return {fileName.substr(0, dot), fileName.substr(dot + 1)};
}

std::string FormatFileSize(uint64_t bytes, const std::string& decimal) {
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (unit < kLastUnit && static_cast<uint64_t>(value) >= 1024) {
        value /= kUnitStep;
        ++unit;
    }
    if (unit == 0)
        return std::to_string(bytes);
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    if (size_t point = result.find('.'); point != std::string::npos)
        result.replace(point, 1, decimal);
    return result + kUnits[unit];
}

std::string FormatFileSize(uint64_t bytes) {
    return FormatFileSize(bytes, LocaleText(LOCALE_SDECIMAL, "."));
}

std::string FormatFileDate(const FILETIME& written) {
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &time))
        return {};
    // File systems of the FAT family keep two-second steps; every listing
    // reads the same, whatever the drive.
    time.wSecond &= ~1;
    time.wMilliseconds = 0;
    wchar_t date[80] = {}, clock[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, ARRAYSIZE(date));
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, ARRAYSIZE(clock));
    return Utf8(date) + " " + Utf8(clock);
}

std::string ParentFolder(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return folder;
    // A drive root keeps its backslash: C:\A gives C:\, not C:.
    if (slash > 0 && path[slash - 1] == ':')
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

} // namespace orvane
