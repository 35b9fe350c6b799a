#include "desktop/Calendar.h"

#include "base/Utf.h"
#include "paint/Canvas.h"

#include <algorithm>
#include <cstdint>

namespace orvane {

namespace {

constexpr int64_t kTicksPerDay = 24LL * 60 * 60 * 10000000;

// Days since 1601-01-01: date arithmetic through the system's file times.
int64_t DayNumber(const SYSTEMTIME& date) {
    SYSTEMTIME midnight{};
    midnight.wYear = date.wYear;
    midnight.wMonth = date.wMonth;
    midnight.wDay = date.wDay;
    FILETIME time;
    SystemTimeToFileTime(&midnight, &time);
    ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
    return static_cast<int64_t>(ticks.QuadPart / kTicksPerDay);
}

SYSTEMTIME DateOfDay(int64_t dayNumber) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<uint64_t>(dayNumber * kTicksPerDay);
    FILETIME time{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME date{};
    FileTimeToSystemTime(&time, &date);
    return date;
}

// 1601-01-01 was a Monday.
int WeekdayOf(int64_t dayNumber) {
    return static_cast<int>(dayNumber % 7);
}

bool IsNextMonth(const SYSTEMTIME& cell, const SYSTEMTIME& shown) {
    return cell.wYear * 12 + cell.wMonth == shown.wYear * 12 + shown.wMonth + 1;
}

// Where the designed font is replaced by a wider one, three-letter day names
// would run into each other: the font steps down until the widest fits.
void FitHeaderFont(TCanvas& canvas, const TCalendarLayout& layout) {
    constexpr int kSmallestSize = 6;
    while (canvas.Font.Size > kSmallestSize) {
        int widest = 0;
        for (int weekday : layout.headerDays)
            widest = std::max(widest, canvas.TextWidth(AbbreviatedDayName(weekday)));
        if (widest < calendar::kColumnWidth)
            return;
        --canvas.Font.Size;
    }
}

} // namespace

TCalendarLayout LayoutCalendar(const SYSTEMTIME& date, int firstDay) {
    TCalendarLayout layout;
    layout.firstDay = (firstDay % 7 + 7) % 7;
    for (int i = 0; i < 7; ++i)
        layout.headerDays[i] = (layout.firstDay + i) % 7;
    layout.sundayColumn = 6 - layout.firstDay;

    const int64_t today = DayNumber(date);
    const int todayColumn = (WeekdayOf(today) - layout.firstDay + 7) % 7;
    // The first row is the week before the week of the 1st when the 1st falls
    // in column 0 or today lies in the first week, else the week of the 1st.
    const int a = todayColumn <= 4 ? todayColumn + 1 : todayColumn - 6;
    const int q = (date.wDay - a) / 7;
    const int64_t start = today - a - 7 * (q + 1) + 1;

    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 7; ++column) {
            const SYSTEMTIME cell = DateOfDay(start + 7 * row + column);
            TCalendarCell& out = layout.cells[layout.cellCount];
            out.row = row;
            out.column = column;
            out.day = cell.wDay;
            if (cell.wMonth == date.wMonth && cell.wYear == date.wYear) {
                out.text =
                    column == layout.sundayColumn ? calendar::kSundayText : calendar::kDayText;
                out.background =
                    cell.wDay == date.wDay ? calendar::kTodayBackground : calendar::kCellBackground;
            } else {
                if (column == 0 && IsNextMonth(cell, date))
                    return layout;
                out.text = calendar::kOtherMonthText;
                out.background = calendar::kCellBackground;
            }
            ++layout.cellCount;
        }
    return layout;
}

int UserFirstDayOfWeek() {
    wchar_t value[8] = {};
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, value, 8) || value[0] < L'0' ||
        value[0] > L'6')
        return 0;
    return value[0] - L'0';
}

std::string AbbreviatedDayName(int weekday) {
    // The locale's own script (Ελλ, 月, ...): the wide call, as UTF-8.
    constexpr int kUnits = 32;
    wchar_t name[kUnits] = {};
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + (weekday % 7), name, kUnits))
        return {};
    return Utf8Until(name, kUnits);
}

void DrawCalendar(TCanvas& canvas, POINT origin, const SYSTEMTIME& date) {
    const TCalendarLayout layout = LayoutCalendar(date, UserFirstDayOfWeek());
    canvas.Font.Bold = true;
    const int designedSize = canvas.Font.Size;
    FitHeaderFont(canvas, layout);
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = calendar::kCellBackground;
    canvas.Font.Color = calendar::kHeaderText;
    for (int i = 0; i < 7; ++i)
        canvas.TextOut(origin.x + 4 + calendar::kColumnWidth * i, origin.y + 2,
                       AbbreviatedDayName(layout.headerDays[i]));
    canvas.Font.Size = designedSize; // day numbers fit in any font
    for (int i = 0; i < layout.cellCount; ++i) {
        const TCalendarCell& cell = layout.cells[i];
        canvas.Font.Color = cell.text;
        canvas.Brush.Color = cell.background;
        canvas.TextOut(origin.x + 4 + calendar::kColumnWidth * cell.column,
                       origin.y + calendar::kGridTop + calendar::kRowHeight * cell.row,
                       std::to_string(cell.day));
    }
}

} // namespace orvane
