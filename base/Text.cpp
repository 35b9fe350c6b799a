#include "base/Text.h"

#include <windows.h>

namespace orvane {

std::string LowerCase(std::string text) {
    if (!text.empty())
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

} // namespace orvane
