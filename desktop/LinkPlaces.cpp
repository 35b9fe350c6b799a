#include "desktop/LinkPlaces.h"

#include <cctype>
#include <optional>

namespace orvane {

namespace {

// A decimal integer with optional blanks around it and an optional sign.
std::optional<int> ParseDecimal(const std::string& text) {
    size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ')
        ++i;
    while (end > i && text[end - 1] == ' ')
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == end)
        return std::nullopt;
    long long value = 0;
    for (; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 0x80000000LL)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > 0x7FFFFFFFLL)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::string LinkCaption(const std::string& entryName) {
    size_t at = entryName.find(".lnk");
    if (at == std::string::npos || at == 0)
        return entryName;
    return entryName.substr(0, at);
}

TSavedPlace ParseSavedPlace(const std::string& value) {
    TSavedPlace place;
    size_t comma = value.find(',');
    if (comma == std::string::npos)
        return place;
    auto part = [&place](const std::string& text, int& out) {
        if (std::optional<int> number = ParseDecimal(text))
            out = *number;
        else if (place.error.empty())
            place.error = "'" + text + "' is not a valid integer value";
    };
    part(value.substr(0, comma), place.left);
    part(value.substr(comma + 1), place.top);
    return place;
}

std::string FormatSavedPlace(int left, int top) {
    return std::to_string(left) + "," + std::to_string(top);
}

POINT LargeLinkPlace(int n, int screenHeight) {
    const int offset = 60 * n + 300;
    if (screenHeight <= 0)
        return POINT{415, offset};
    return POINT{offset / screenHeight * 75 + 415, offset % screenHeight};
}

POINT SmallLinkPlace(int n, int desktopWidth) {
    return POINT{desktopWidth - kSmallStripWidth, 30 * n + 100};
}

POINT DraggedSmallLinkPlace(int n, int desktopWidth) {
    return POINT{desktopWidth - kSmallStripWidth, 30 * n + 20};
}

bool InSmallStrip(int left, int desktopWidth) {
    return left >= desktopWidth - kSmallStripWidth;
}

} // namespace orvane
