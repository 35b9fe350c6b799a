#pragma once
// How one folder entry reads in the file browser's grid: its name split at the
// last dot, its size on the k/M/G/T ladder, its date in the user's formats,
// and the folder a row leads to.
#include <windows.h>

#include <cstdint>
#include <string>

namespace orvane {

// The name cell and the extension cell of a file: the text before and after
// the last ".", or the whole name and nothing when it has none.
struct TNameParts {
    std::string name;
    std::string extension;
};
TNameParts SplitFileName(const std::string& fileName);

// The size cell: bytes up to 1023 as they are, then one decimal with " k",
// " M", " G" or " T". The step looks at the whole part while the text rounds,
// so 1,048,575 bytes read as "1024.0 k". `decimal` is the separator shown.
std::string FormatFileSize(uint64_t bytes, const std::string& decimal);
// The same with the user's decimal separator.
std::string FormatFileSize(uint64_t bytes);

// The date cell: the local time of a file time, to two seconds, in the user's
// short date and long time formats with one blank between.
std::string FormatFileDate(const FILETIME& written);

// The folder above `folder`, which ends with a backslash: "C:\A\B\" gives
// "C:\A" and "C:\A\" gives "C:\"; a drive root stays as it is.
std::string ParentFolder(const std::string& folder);

} // namespace orvane
