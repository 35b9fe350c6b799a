#pragma once
// The clock's text: a date-time pattern language in which the user writes the
// clock format, and the locale data it draws its names and separators from.
//
// Elements (letters in any case):
//   d dd ddd dddd     day, day with zero, short / long day name
//   ddddd dddddd      the locale's short / long date format
//   m mm mmm mmmm     month, month with zero, short / long month name;
//                     m and mm right after an hour element are minutes
//   n nn              minutes, minutes with zero
//   yy yyyy           year in two / four digits
//   h hh              hour, hour with zero; 12-hour when an am/pm element
//                     follows anywhere later in the pattern
//   s ss, z zzz       seconds, milliseconds (with zeros)
//   am/pm  a/p        "am"/"pm" or "a"/"p", each letter in the case written
//   ampm              the locale's morning or afternoon designator
//   c                 short date, a blank and long time (the time is left out
//                     at exactly midnight); the empty pattern means "c"
//   :  /              the locale's time / date separator
//   '...'  "..."      copied as written
// Anything else is copied unchanged.
#include <windows.h>

#include <array>
#include <string>

namespace orvane {

struct TLocaleFormats {
    std::string timeSeparator = ":";
    std::string dateSeparator = "/";
    std::string amDesignator = "AM";
    std::string pmDesignator = "PM";
    std::array<std::string, 12> shortMonthNames; // [0] = January
    std::array<std::string, 12> longMonthNames;
    std::array<std::string, 7> shortDayNames; // [0] = Sunday, as SYSTEMTIME::wDayOfWeek
    std::array<std::string, 7> longDayNames;
    // In the pattern language above.
    std::string shortDateFormat = "m/d/yyyy";
    std::string longDateFormat = "dddd, mmmm d, yyyy";
    std::string longTimeFormat = "h:mm:ss AMPM";
    bool hourLeadingZero = false;
    bool twentyFourHour = false;
    bool amPmBeforeTime = false;
};

// The user's locale (LOCALE_USER_DEFAULT). Values the locale does not give
// keep the defaults above.
TLocaleFormats UserLocaleFormats();

// The long time format the flags of `locale` call for: "hh" or "h", then
// ":mm:ss", and for a 12-hour locale "AMPM " before or " AMPM" after it.
std::string LongTimeFormatFor(const TLocaleFormats& locale);

// A date picture of the platform's locale data (d, M, y, g, quoted text) in the
// pattern language above; separators and other text stay literal.
std::string FromLocaleDatePicture(const std::string& picture);

std::string FormatDateTime(const std::string& pattern, const SYSTEMTIME& time,
                           const TLocaleFormats& locale);

// The clock format used when the configuration has none: "d| " + long time.
std::string DefaultTimeFormat(const TLocaleFormats& locale);

} // namespace orvane
