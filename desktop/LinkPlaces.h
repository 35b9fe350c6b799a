#pragma once
// Where desktop links go: captions from entry names, positions saved in
// [Desktop], and the automatic places of the two areas (the main area with
// large links, the right-hand column of small ones).
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// The [Desktop] key of a caption. A caption that the profile syntax cannot
// hold as a key (one with "=", one that would read as a comment or a section,
// blanks at either end) is written with those characters as "%XX" escapes;
// every other caption is its own key, as in files written before.
std::string LinkPlaceKey(const std::string& caption);

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

// What a link shows of itself at `at`: the icon and the caption, which is
// less than the large link's box, so the main area's rows (60 pixels apart)
// do not count as overlapping.
RECT LinkFootprint(POINT at, bool small);

// The two areas of automatic places, and the right-hand column's places for
// a link dragged into it.
enum class TLinkArea { Main, Column, DraggedColumn };

// Where automatic places may go, in desktop coordinates.
struct TLinkField {
    int desktopWidth = 0;
    int screenHeight = 0;      // the main area's places wrap round at it
    RECT free{};               // on the screen and above the taskbar
    std::vector<RECT> blocked; // never covered: the calendar
    std::vector<RECT> taken;   // the footprints of the links placed
};

struct TLinkSpot {
    POINT at{0, 0};
    TLinkArea area = TLinkArea::Main;
    int cell = 0; // the place's number in its area (the counter's value for it)
    bool small = false;
};

// The next free place for a link of `area`: the first cell from the area's
// counter on that lies in the free field and covers nothing, then the cells
// before the counter. The main area runs on in more columns (to the right up
// to the right-hand strip, then to the left of the first); a link of the
// right-hand column that finds no room there goes to the main area, and a
// main-area link that finds none there to the column. With no free place at
// all, the area's cells that lie in the field clear of the blocked parts are
// handed out in turn, over the links there; a field without such a cell
// gives the area's place for its counter.
TLinkSpot NextFreeLinkPlace(TLinkArea area, const TLinkCounters& counters, const TLinkField& field);
// The counter moves past the cell taken, never back.
void TakeLinkSpot(TLinkCounters& counters, const TLinkSpot& spot);
// The automatic cell a link at `at` lies on exactly, if any (dragged places
// are not counted).
std::optional<TLinkSpot> AutomaticCellAt(POINT at, const TLinkField& field);
// The link's footprint lies wholly on a screen of that size.
bool LinkOnScreen(POINT at, bool small, SIZE screen);

} // namespace orvane
