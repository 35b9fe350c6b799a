// The clock's pattern language against a fixed locale, and the user's locale
// data as read from the machine.
#include "taskbar/ClockFormat.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

SYSTEMTIME At(int day, int hour, int minute, int second, int month = 12, int dayOfWeek = 1) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return time;
}

// 24-hour with leading zero, and names of its own, so that nothing can come
// from the machine's locale by accident.
TLocaleFormats TestLocale() {
    TLocaleFormats locale;
    locale.dateSeparator = "-";
    locale.amDesignator = "vorm.";
    locale.pmDesignator = "nachm.";
    locale.shortMonthNames = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                              "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    locale.longMonthNames = {"Januar", "Februar", "Maerz",     "April",   "Mai",      "Juni",
                             "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    locale.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                           "Donnerstag", "Freitag", "Samstag"};
    locale.shortDateFormat = "dd/mm/yyyy";
    locale.hourLeadingZero = true;
    locale.twentyFourHour = true;
    locale.longTimeFormat = LongTimeFormatFor(locale);
    return locale;
}

} // namespace

TEST(ClockFormat, PatternsOfTheSettingsListAndTheDefault) {
    TLocaleFormats locale = TestLocale();
    EXPECT_EQ(FormatDateTime("d| hh:mm AM/PM", At(21, 14, 5, 9), locale), "21| 02:05 PM");
    EXPECT_EQ(FormatDateTime("mmmm d hh:mm:ss", At(21, 14, 5, 9), locale), "Dezember 21 14:05:09");
    EXPECT_EQ(FormatDateTime("d mmm hh:mm AM/PM", At(3, 9, 30, 0, 3), locale), "3 Mrz 09:30 AM");
    EXPECT_EQ(FormatDateTime(DefaultTimeFormat(locale), At(5, 10, 50, 45), locale), "5| 10:50:45");
    locale.timeSeparator = ".";
    EXPECT_EQ(FormatDateTime("hh:mm:ss", At(5, 10, 50, 45), locale), "10.50.45");
    EXPECT_EQ(FormatDateTime("d/m/yy", At(5, 10, 50, 45, 7), locale), "5-7-26");
}

TEST(ClockFormat, AmPmElementsAndTheTwelveHourClock) {
    const TLocaleFormats locale = TestLocale();
    EXPECT_EQ(FormatDateTime("h:nn am/pm", At(1, 0, 15, 0), locale), "12:15 am");
    EXPECT_EQ(FormatDateTime("h Am/Pm", At(1, 12, 15, 0), locale), "12 Pm");
    EXPECT_EQ(FormatDateTime("hh a/p", At(1, 23, 0, 0), locale), "11 p");
    EXPECT_EQ(FormatDateTime("AMPM h", At(5, 8, 7, 0), locale), "vorm. 8");
    EXPECT_EQ(FormatDateTime("h ampm", At(5, 20, 7, 0), locale), "8 nachm.");
}

TEST(ClockFormat, ElementsBesideTheListedOnes) {
    const TLocaleFormats locale = TestLocale();
    SYSTEMTIME time = At(21, 14, 5, 9, 11);
    time.wMilliseconds = 42;
    // m and mm are minutes right after an hour element, months elsewhere.
    EXPECT_EQ(FormatDateTime("mm m", time, locale), "11 11");
    EXPECT_EQ(FormatDateTime("H 'x' M:ss mm", time, locale), "14 x 5:09 11");
    EXPECT_EQ(FormatDateTime("dddd yyyy z zzz \"d/h\" #x", time, locale),
              "Montag 2026 42 042 d/h #x");
}

TEST(ClockFormat, EmptyPatternIsShortDateAndLongTime) {
    TLocaleFormats locale = TestLocale();
    EXPECT_EQ(FormatDateTime("", At(5, 10, 50, 45), locale), "05-12-2026 10:50:45");
    EXPECT_EQ(FormatDateTime("", At(5, 0, 0, 0), locale), "05-12-2026");
    EXPECT_EQ(FormatDateTime("c", At(5, 0, 0, 1), locale), "05-12-2026 00:00:01");
    // A locale format naming itself is expanded once, not without end.
    locale.shortDateFormat = "c d";
    EXPECT_EQ(FormatDateTime("", At(5, 0, 0, 0), locale), " 5");
}

TEST(ClockFormat, DefaultFormatOfTwelveHourLocales) {
    TLocaleFormats locale = TestLocale();
    locale.twentyFourHour = false;
    locale.hourLeadingZero = false;
    locale.longTimeFormat = LongTimeFormatFor(locale);
    EXPECT_EQ(DefaultTimeFormat(locale), "d| h:mm:ss AMPM");
    EXPECT_EQ(FormatDateTime(DefaultTimeFormat(locale), At(5, 0, 4, 5), locale),
              "5| 12:04:05 vorm.");
    locale.amPmBeforeTime = true;
    locale.hourLeadingZero = true;
    locale.longTimeFormat = LongTimeFormatFor(locale);
    EXPECT_EQ(FormatDateTime(DefaultTimeFormat(locale), At(5, 12, 4, 5), locale),
              "5| nachm. 12:04:05");
}

TEST(ClockFormat, LocaleDatePicturesBecomePatterns) {
    const TLocaleFormats locale = TestLocale();
    const SYSTEMTIME time = At(21, 14, 5, 9);
    EXPECT_EQ(FormatDateTime(FromLocaleDatePicture("dddd, MMMM d, yyyy"), time, locale),
              "Montag, Dezember 21, 2026");
    // Quoted text, a doubled quote, separators and letters stay as written;
    // the era is left out.
    EXPECT_EQ(FormatDateTime(FromLocaleDatePicture("gg d'de' 'o''c' M/yy h:m"), time, locale),
              " 21de o'c 12/26 h:m");
}

TEST(ClockFormat, UserLocaleGivesEveryName) {
    const TLocaleFormats locale = UserLocaleFormats();
    for (size_t i = 0; i < 12; ++i)
        EXPECT_FALSE(locale.longMonthNames[i].empty() || locale.shortMonthNames[i].empty()) << i;
    for (size_t i = 0; i < 7; ++i)
        EXPECT_FALSE(locale.longDayNames[i].empty() || locale.shortDayNames[i].empty()) << i;
    EXPECT_FALSE(locale.timeSeparator.empty());
    // The user's long time and long date read as the system writes them.
    for (const SYSTEMTIME& time : {At(5, 9, 4, 3, 12, 6), At(21, 14, 5, 9, 3, 6)}) {
        char systemTime[80] = {}, systemDate[80] = {};
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, systemTime, sizeof systemTime);
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, systemDate,
                       sizeof systemDate);
        EXPECT_EQ(FormatDateTime(locale.longTimeFormat, time, locale), systemTime);
        EXPECT_EQ(FormatDateTime(locale.longDateFormat, time, locale), systemDate);
    }
    // Sunday first, as in SYSTEMTIME.
    char sunday[80] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME7, sunday, sizeof sunday);
    EXPECT_EQ(locale.longDayNames[0], sunday);
}
