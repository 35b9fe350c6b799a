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

} // namespace orvane
