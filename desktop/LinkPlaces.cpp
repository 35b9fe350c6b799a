#include "desktop/LinkPlaces.h"

#include <algorithm>
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

// The automatic places (pixels).
constexpr int kMainLeft = 415;
constexpr int kMainColumnStep = 75;
constexpr int kMainStart = 300;
constexpr int kMainRowStep = 60;
constexpr int kColumnTop = 100;
constexpr int kDraggedColumnTop = 20;
constexpr int kColumnRowStep = 30;
// What a link shows of itself: the large icon over its caption (which ends
// 50 pixels down the 65-pixel box), or the small icon beside its caption.
constexpr SIZE kLargeFootprint{48, 50};
constexpr SIZE kSmallFootprint{110, 16};

bool IsIniBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Columns of the main area from its first one rightwards whose links stay
// out of the right-hand strip.
int MainColumnsRight(int desktopWidth) {
    const int room = desktopWidth - kSmallStripWidth - kLargeFootprint.cx - kMainLeft;
    return room < 0 ? 0 : room / kMainColumnStep + 1;
}

int MainColumnLeft(int column, int desktopWidth) {
    const int right = MainColumnsRight(desktopWidth);
    if (column < right)
        return kMainLeft + kMainColumnStep * column;
    // Past the strip the area goes on to the left of its first column.
    return kMainLeft - kMainColumnStep * (column - right + 1);
}

POINT MainCell(int n, const TLinkField& field) {
    const int offset = kMainRowStep * n + kMainStart;
    return POINT{MainColumnLeft(offset / field.screenHeight, field.desktopWidth),
                 offset % field.screenHeight};
}

// Cells of the main area up to the last column that lies in the field.
int MainCellCount(const TLinkField& field) {
    if (field.screenHeight <= 0)
        return 0;
    const int leftColumns =
        std::max(0, (kMainLeft - static_cast<int>(field.free.left)) / kMainColumnStep);
    const long long columns = MainColumnsRight(field.desktopWidth) + leftColumns;
    const long long end = columns * field.screenHeight - kMainStart;
    return end <= 0 ? 0 : static_cast<int>((end + kMainRowStep - 1) / kMainRowStep);
}

int ColumnTop(TLinkArea area) {
    return area == TLinkArea::DraggedColumn ? kDraggedColumnTop : kColumnTop;
}

int ColumnCellCount(TLinkArea area, const TLinkField& field) {
    const int room = static_cast<int>(field.free.bottom) - kSmallFootprint.cy - ColumnTop(area);
    return room < 0 ? 0 : room / kColumnRowStep + 1;
}

TLinkSpot Cell(TLinkArea area, int n, const TLinkField& field) {
    TLinkSpot spot;
    spot.area = area;
    spot.cell = n;
    if (area == TLinkArea::Main) {
        spot.at = MainCell(n, field);
    } else {
        spot.at =
            POINT{field.desktopWidth - kSmallStripWidth, ColumnTop(area) + kColumnRowStep * n};
        spot.small = true;
    }
    return spot;
}

int CellCount(TLinkArea area, const TLinkField& field) {
    return area == TLinkArea::Main ? MainCellCount(field) : ColumnCellCount(area, field);
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Meets(const RECT& rect, const std::vector<RECT>& others) {
    // Inline: a screen full of links asks this some million times.
    return std::any_of(others.begin(), others.end(), [&](const RECT& other) {
        return rect.left < other.right && other.left < rect.right && rect.top < other.bottom &&
               other.top < rect.bottom;
    });
}

bool Fits(const TLinkSpot& spot, const TLinkField& field, bool clearOfLinks) {
    const RECT footprint = LinkFootprint(spot.at, spot.small);
    return Inside(footprint, field.free) && !Meets(footprint, field.blocked) &&
           (!clearOfLinks || !Meets(footprint, field.taken));
}

// The first cell that fits from `from` on, round to the area's first cell.
// Cells that may overlap links are handed out in turn: their number goes
// on counting past the last cell, so the next link takes the next one.
std::optional<TLinkSpot> FreeCell(TLinkArea area, int from, const TLinkField& field,
                                  bool clearOfLinks) {
    const int count = CellCount(area, field);
    for (int i = 0; i < count; ++i) {
        const int n = std::max(from, 0) + i;
        TLinkSpot spot = Cell(area, n % count, field);
        if (!Fits(spot, field, clearOfLinks))
            continue;
        if (!clearOfLinks)
            spot.cell = n;
        return spot;
    }
    return std::nullopt;
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

std::string LinkPlaceKey(const std::string& caption) {
    if (caption.empty())
        return caption;
    const char first = caption.front();
    const bool plain = caption.find_first_of(std::string("=\r\n\0", 4)) == std::string::npos &&
                       first != ';' && first != '[' && !IsIniBlank(first) &&
                       !IsIniBlank(caption.back());
    if (plain)
        return caption;
    std::string key;
    for (size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        const bool edge = (i == 0 && (c == ';' || c == '[' || IsIniBlank(c))) ||
                          (i + 1 == caption.size() && IsIniBlank(c));
        if (edge || c == '%' || c == '=' || c == '\r' || c == '\n' || c == '\0') {
            constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(c);
            key += '%';
            key += kHex[byte >> 4];
            key += kHex[byte & 15];
        } else {
            key += c;
        }
    }
    return key;
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

RECT LinkFootprint(POINT at, bool small) {
    const SIZE size = small ? kSmallFootprint : kLargeFootprint;
    return RECT{at.x, at.y, at.x + size.cx, at.y + size.cy};
}

TLinkSpot NextFreeLinkPlace(TLinkArea area, const TLinkCounters& counters,
                            const TLinkField& field) {
    auto counter = [&](TLinkArea of) {
        return of == TLinkArea::Main ? counters.large : counters.small;
    };
    if (std::optional<TLinkSpot> spot = FreeCell(area, counter(area), field, true))
        return *spot;
    // A link dragged into the column stays there, whatever it covers.
    if (area != TLinkArea::DraggedColumn) {
        const TLinkArea other = area == TLinkArea::Main ? TLinkArea::Column : TLinkArea::Main;
        if (std::optional<TLinkSpot> spot = FreeCell(other, counter(other), field, true))
            return *spot;
    }
    if (std::optional<TLinkSpot> spot = FreeCell(area, counter(area), field, false))
        return *spot;
    TLinkSpot spot = Cell(area, counter(area), field);
    if (area == TLinkArea::Main)
        spot.at = LargeLinkPlace(counter(area), field.screenHeight);
    return spot;
}

void TakeLinkSpot(TLinkCounters& counters, const TLinkSpot& spot) {
    uint16_t& counter = spot.area == TLinkArea::Main ? counters.large : counters.small;
    const int next = std::min(spot.cell + 1, 0xFFFF);
    if (next > counter)
        counter = static_cast<uint16_t>(next);
}

std::optional<TLinkSpot> AutomaticCellAt(POINT at, const TLinkField& field) {
    if (at.x == field.desktopWidth - kSmallStripWidth) {
        const int row = at.y - kColumnTop;
        if (row >= 0 && row % kColumnRowStep == 0)
            return Cell(TLinkArea::Column, row / kColumnRowStep, field);
        return std::nullopt;
    }
    if (field.screenHeight <= 0 || at.y < 0 || at.y >= field.screenHeight ||
        (at.x - kMainLeft) % kMainColumnStep != 0)
        return std::nullopt;
    const int step = (at.x - kMainLeft) / kMainColumnStep;
    const int right = MainColumnsRight(field.desktopWidth);
    const int column = step >= 0 ? step : right - 1 - step;
    if (step >= right)
        return std::nullopt;
    const long long offset = static_cast<long long>(column) * field.screenHeight + at.y;
    if (offset < kMainStart || (offset - kMainStart) % kMainRowStep != 0 ||
        (offset - kMainStart) / kMainRowStep > 0xFFFF)
        return std::nullopt;
    return Cell(TLinkArea::Main, static_cast<int>((offset - kMainStart) / kMainRowStep), field);
}

bool LinkOnScreen(POINT at, bool small, SIZE screen) {
    return Inside(LinkFootprint(at, small), RECT{0, 0, screen.cx, screen.cy});
}

} // namespace orvane
