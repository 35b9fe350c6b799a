#include "base/Text.h"

#include "base/Utf.h"

#include <windows.h>

namespace orvane {

std::string LowerCase(std::string text) {
    if (text.empty())
        return text;
    std::wstring wide = Wide(text);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Utf8(wide);
}

std::string TrimBlanks(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace orvane
