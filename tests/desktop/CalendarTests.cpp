// The month calendar: week order from the locale, today's cell, where the
// grid stops, and what a paint leaves of the wallpaper.
#include "desktop/Calendar.h"
#include "paint/Canvas.h"
#include "tests/support/PixelSurface.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

SYSTEMTIME Date(int year, int month, int day) {
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    return date;
}

const TCalendarCell& Last(const TCalendarLayout& layout) {
    return layout.cells[layout.cellCount - 1];
}

// Restores the user's first day of the week after a case changed it.
struct FirstDayOfWeek {
    explicit FirstDayOfWeek(const char* value) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, saved, sizeof saved);
        ok = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, value) != 0;
    }
    ~FirstDayOfWeek() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, saved); }
    char saved[8] = {};
    bool ok = false;
};

} // namespace

TEST(Calendar, WeekOrderFollowsTheLocale) {
    for (auto [value, firstDay, sundayColumn] : {std::tuple{"0", 0, 6}, std::tuple{"6", 6, 0}}) {
        FirstDayOfWeek locale(value);
        ASSERT_TRUE(locale.ok) << "SetLocaleInfo LOCALE_IFIRSTDAYOFWEEK";
        EXPECT_EQ(UserFirstDayOfWeek(), firstDay);
        TCalendarLayout layout = LayoutCalendar(Date(2026, 12, 9), UserFirstDayOfWeek());
        EXPECT_EQ(layout.headerDays[0], firstDay) << "Monday is 0, Sunday 6";
        EXPECT_EQ(layout.sundayColumn, sundayColumn);
        for (int i = 0; i < layout.cellCount; ++i) {
            const TCalendarCell& cell = layout.cells[i];
            if (cell.text != calendar::kOtherMonthText) {
                EXPECT_EQ(cell.text == calendar::kSundayText, cell.column == sundayColumn)
                    << "day " << cell.day;
            }
        }
    }
}

TEST(Calendar, OnlyTodaysCellIsHighlighted) {
    TCalendarLayout layout = LayoutCalendar(Date(2026, 12, 9), 0);
    int highlighted = 0;
    for (int i = 0; i < layout.cellCount; ++i)
        if (layout.cells[i].background == calendar::kTodayBackground) {
            ++highlighted;
            EXPECT_EQ(layout.cells[i].day, 9);
            EXPECT_EQ(layout.cells[i].text, calendar::kDayText);
        } else {
            EXPECT_EQ(layout.cells[i].background, calendar::kCellBackground);
        }
    EXPECT_EQ(highlighted, 1);
    // The grey 30th of November must not take today's colour either.
    EXPECT_EQ(layout.cells[0].day, 30);
    EXPECT_EQ(layout.cells[0].text, calendar::kOtherMonthText);

    // Painted: today's colour appears inside today's cell only, and the box
    // outside the texts keeps what was there (the wallpaper).
    const COLORREF wallpaper = RGB(1, 2, 3);
    PixelSurface surface(169, 161, wallpaper);
    {
        TCanvas canvas(surface.dc());
        canvas.Font.Name = "MS Sans Serif";
        SYSTEMTIME today;
        GetLocalTime(&today);
        DrawCalendar(canvas, POINT{5, 5}, today);
        TCalendarLayout now = LayoutCalendar(today, UserFirstDayOfWeek());
        for (int i = 0; i < now.cellCount; ++i)
            if (now.cells[i].background == calendar::kTodayBackground) {
                int left = 9 + calendar::kColumnWidth * now.cells[i].column;
                int top = 5 + calendar::kGridTop + calendar::kRowHeight * now.cells[i].row;
                RECT cell{left, top, left + calendar::kColumnWidth, top + calendar::kRowHeight};
                RECT all{0, 0, 169, 161};
                int inside = surface.Count(calendar::kTodayBackground, cell);
                EXPECT_GT(inside, 0);
                EXPECT_EQ(surface.Count(calendar::kTodayBackground, all), inside);
            }
    }
    EXPECT_EQ(surface.At(0, 0), wallpaper);
    EXPECT_EQ(surface.At(168, 160), wallpaper);
}

TEST(Calendar, DecemberStopsAtTheRowThatStartsInJanuary) {
    // Monday first: 28 December to 3 January is the fifth row; the sixth
    // would start on 4 January and is not drawn.
    TCalendarLayout layout = LayoutCalendar(Date(2026, 12, 9), 0);
    EXPECT_EQ(layout.cellCount, 35);
    EXPECT_EQ(Last(layout).day, 3);
    EXPECT_EQ(Last(layout).text, calendar::kOtherMonthText);
    // Early in the month the first row is the week before the 1st: six rows.
    EXPECT_EQ(LayoutCalendar(Date(2026, 12, 2), 0).cells[0].day, 23);
    EXPECT_EQ(LayoutCalendar(Date(2026, 12, 2), 0).cellCount, 42);
}

TEST(Calendar, AMonthWhoseLastRowIsFullDrawsNoRowOfTheNextMonth) {
    // May 2026 ends on a Sunday: with Monday first its last row is full.
    TCalendarLayout layout = LayoutCalendar(Date(2026, 5, 15), 0);
    EXPECT_EQ(layout.cells[0].day, 27) << "Monday 27 April";
    EXPECT_EQ(layout.cellCount, 35);
    EXPECT_EQ(Last(layout).day, 31);
    EXPECT_EQ(Last(layout).column, 6);
    EXPECT_EQ(Last(layout).text, calendar::kSundayText);
}
