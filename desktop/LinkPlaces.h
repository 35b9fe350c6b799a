#pragma once
// Where desktop links go: captions from entry names, positions saved in
// [Desktop], and the automatic places of the two areas (the main area with
// large links, the right-hand column of small ones).
#include <windows.h>

#include <cstdint>
#include <string>

namespace orvane {

// Links whose left edge is this close to the right edge are shown small.
constexpr int kSmallStripWidth = 150;

// "Mail.lnk" -> "Mail"; a name without ".lnk" after its first character stays.
std::string LinkCaption(const std::string& entryName);

// A [Desktop] value "left,top". Missing or unreadable parts are -1; `error`
// tells about a part that is there but not a number. A value without a comma
// is no position at all, and no error either.
struct TSavedPlace {
    int left = -1;
    int top = -1;
    std::string error;
    bool Usable() const { return left >= 0 && top >= 0; }
};
TSavedPlace ParseSavedPlace(const std::string& value);
std::string FormatSavedPlace(int left, int top);

// How many links have taken an automatic place in each area. Kept from
// going below 0: a link dragged out of an area it was never counted in must
// not send the next automatic place off the screen.
struct TLinkCounters {
    uint16_t large = 0;
    uint16_t small = 0;
    void TakeLarge() { ++large; }
    void TakeSmall() { ++small; }
    void ReleaseLarge() { large = large ? large - 1 : 0; }
    void ReleaseSmall() { small = small ? small - 1 : 0; }
};

// The next automatic place in the main area, for the large counter `n`.
POINT LargeLinkPlace(int n, int screenHeight);
// The next place in the right-hand column, for the small counter `n`.
POINT SmallLinkPlace(int n, int desktopWidth);
// Where a link dragged into the right-hand strip goes.
POINT DraggedSmallLinkPlace(int n, int desktopWidth);
bool InSmallStrip(int left, int desktopWidth);

} // namespace orvane
