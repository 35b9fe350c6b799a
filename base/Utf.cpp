#include "base/Utf.h"

#include <windows.h>

#include <limits>

namespace orvane {

namespace {

// Both conversions refuse inputs longer than an int can count; the shell's
// texts are far shorter, so such an input is cut rather than refused.
int ClampedLength(size_t length) {
    constexpr size_t kMax = static_cast<size_t>(std::numeric_limits<int>::max() / 4);
    return static_cast<int>(length < kMax ? length : kMax);
}

} // namespace

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int length = ClampedLength(utf8.size());
    // Without MB_ERR_INVALID_CHARS invalid bytes turn into U+FFFD.
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), units);
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int length = ClampedLength(wide.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::string Utf8(const wchar_t* text) {
    return text ? Utf8(std::wstring_view(text)) : std::string();
}

std::string Utf8Until(const wchar_t* text, size_t units) {
    if (!text)
        return {};
    size_t length = 0;
    while (length < units && text[length] != L'\0')
        ++length;
    return Utf8(std::wstring_view(text, length));
}

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra = 0;
        unsigned long code = 0;
        unsigned long minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= bytes.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace orvane
