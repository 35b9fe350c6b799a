#pragma once
// The month calendar painted on the desktop: six weeks of day numbers under
// the locale's abbreviated weekday names, in the locale's week order.
#include <windows.h>

#include <array>
#include <string>

namespace orvane {

class TCanvas;

namespace calendar {
constexpr COLORREF kCellBackground = RGB(217, 234, 147);
constexpr COLORREF kTodayBackground = RGB(245, 225, 112);
constexpr COLORREF kHeaderText = RGB(64, 0, 0);
constexpr COLORREF kDayText = RGB(0, 64, 0);
constexpr COLORREF kSundayText = RGB(250, 99, 114);
constexpr COLORREF kOtherMonthText = RGB(128, 128, 128);
constexpr int kColumnWidth = 23;
constexpr int kRowHeight = 15;
constexpr int kGridTop = 23;
} // namespace calendar

struct TCalendarCell {
    int day = 0; // day of the month; 0 for a cell that is not drawn
    int row = 0;
    int column = 0;
    COLORREF text = 0;
    COLORREF background = 0;
};

// What one paint of the calendar shows, worked out without a device.
struct TCalendarLayout {
    int firstDay = 0;                // 0 = Monday ... 6 = Sunday
    std::array<int, 7> headerDays{}; // weekday of each column, 0 = Monday
    int sundayColumn = 6;
    std::array<TCalendarCell, 42> cells{};
    int cellCount = 0; // cells drawn; the rest were stopped
};

// `firstDay` as the locale gives it: 0 = Monday ... 6 = Sunday.
TCalendarLayout LayoutCalendar(const SYSTEMTIME& date, int firstDay);
// The user's first day of the week (LOCALE_IFIRSTDAYOFWEEK), 0 = Monday.
int UserFirstDayOfWeek();
// The user's abbreviated name of a weekday, 0 = Monday.
std::string AbbreviatedDayName(int weekday);

// Draws the month of `date` with its top-left corner at `origin`, in the
// canvas's font made bold; leaves everything between the texts unpainted.
void DrawCalendar(TCanvas& canvas, POINT origin, const SYSTEMTIME& date);

} // namespace orvane
