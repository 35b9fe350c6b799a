#include "taskbar/ClockFormat.h"

#include "base/Utf.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

enum class Element {
    Literal,
    Day,
    Month,
    Minute,
    Year,
    Hour,
    Second,
    Millisecond,
    AmPm,       // "am/pm" as written
    AP,         // "a/p" as written
    LocaleAmPm, // "ampm"
    TimeSeparator,
    DateSeparator,
    DateTime, // "c"
};

struct Token {
    Element element;
    int count = 0;
    std::string text;
};

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (Upper(text[at + i]) != Upper(word[i]))
            return false;
    return true;
}

std::vector<Token> Tokenize(std::string_view pattern) {
    std::vector<Token> tokens;
    auto literal = [&tokens](std::string_view text) {
        if (!tokens.empty() && tokens.back().element == Element::Literal)
            tokens.back().text += text;
        else
            tokens.push_back({Element::Literal, 0, std::string(text)});
    };
    // Minutes share their letter with months; an hour element just before
    // (separators and quoted text between do not count) decides.
    bool afterHour = false;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char upper = Upper(c);
        size_t run = 1;
        while (i + run < pattern.size() && Upper(pattern[i + run]) == upper)
            ++run;
        const int count = static_cast<int>(run);
        Element element = Element::Literal;
        switch (upper) {
        case '\'':
        case '"': {
            size_t end = std::min(pattern.find(c, i + 1), pattern.size());
            literal(pattern.substr(i + 1, end - i - 1));
            i = std::min(end + 1, pattern.size());
            continue;
        }
        case ':':
            tokens.push_back({Element::TimeSeparator});
            ++i;
            continue;
        case '/':
            tokens.push_back({Element::DateSeparator});
            ++i;
            continue;
        case 'A':
            for (auto [word, kind] : {std::pair{std::string_view("am/pm"), Element::AmPm},
                                      std::pair{std::string_view("a/p"), Element::AP},
                                      std::pair{std::string_view("ampm"), Element::LocaleAmPm}})
                if (StartsWithNoCase(pattern, i, word)) {
                    tokens.push_back({kind, 0, std::string(pattern.substr(i, word.size()))});
                    i += word.size();
                    element = kind;
                    break;
                }
            if (element == Element::Literal) {
                literal(pattern.substr(i, 1));
                ++i;
            }
            afterHour = false;
            continue;
        case 'D':
            tokens.push_back({Element::Day, std::min(count, 6)});
            break;
        case 'M':
            if (afterHour && count <= 2)
                tokens.push_back({Element::Minute, count});
            else
                tokens.push_back({Element::Month, std::min(count, 4)});
            break;
        case 'N':
            tokens.push_back({Element::Minute, std::min(count, 2)});
            break;
        case 'Y':
            tokens.push_back({Element::Year, count <= 2 ? 2 : 4});
            break;
        case 'H':
            tokens.push_back({Element::Hour, std::min(count, 2)});
            break;
        case 'S':
            tokens.push_back({Element::Second, std::min(count, 2)});
            break;
        case 'Z':
            tokens.push_back({Element::Millisecond, count <= 2 ? 1 : 3});
            break;
        case 'C':
            tokens.push_back({Element::DateTime});
            break;
        default:
            if (IsLetter(c))
                afterHour = false;
            literal(pattern.substr(i, 1));
            ++i;
            continue;
        }
        afterHour = upper == 'H';
        i += run;
    }
    return tokens;
}

std::string Number(int value, int digits) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    return text;
}

bool AmPmFollows(const std::vector<Token>& tokens, size_t from) {
    return std::any_of(tokens.begin() + static_cast<std::ptrdiff_t>(from), tokens.end(),
                       [](const Token& token) {
                           return token.element == Element::AmPm || token.element == Element::AP ||
                                  token.element == Element::LocaleAmPm;
                       });
}

template <size_t N> const std::string& Name(const std::array<std::string, N>& names, int index) {
    static const std::string none;
    return index >= 0 && index < static_cast<int>(N) ? names[static_cast<size_t>(index)] : none;
}

// The locale's own formats are patterns too; they are expanded one level deep
// only, so a locale format naming itself cannot recurse without end.
constexpr int MaxNesting = 1;

std::string Format(std::string_view pattern, const SYSTEMTIME& time, const TLocaleFormats& locale,
                   int nesting) {
    const std::vector<Token> tokens = Tokenize(pattern);
    auto nested = [&](const std::string& inner) {
        return nesting < MaxNesting ? Format(inner, time, locale, nesting + 1) : std::string();
    };
    const bool afternoon = time.wHour >= 12;
    std::string out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        switch (token.element) {
        case Element::Literal:
            out += token.text;
            break;
        case Element::Day:
            if (token.count <= 2)
                out += Number(time.wDay, token.count);
            else if (token.count == 3)
                out += Name(locale.shortDayNames, time.wDayOfWeek);
            else if (token.count == 4)
                out += Name(locale.longDayNames, time.wDayOfWeek);
            else
                out += nested(token.count == 5 ? locale.shortDateFormat : locale.longDateFormat);
            break;
        case Element::Month:
            if (token.count <= 2)
                out += Number(time.wMonth, token.count);
            else
                out += Name(token.count == 3 ? locale.shortMonthNames : locale.longMonthNames,
                            time.wMonth - 1);
            break;
        case Element::Minute:
            out += Number(time.wMinute, token.count);
            break;
        case Element::Year:
            out += Number(token.count == 2 ? time.wYear % 100 : time.wYear, token.count);
            break;
        case Element::Hour: {
            int hour = time.wHour;
            if (AmPmFollows(tokens, i + 1)) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += Number(hour, token.count);
            break;
        }
        case Element::Second:
            out += Number(time.wSecond, token.count);
            break;
        case Element::Millisecond:
            out += Number(time.wMilliseconds, token.count);
            break;
        case Element::AmPm:
            out += afternoon ? token.text.substr(3, 2) : token.text.substr(0, 2);
            break;
        case Element::AP:
            out += afternoon ? token.text.substr(2, 1) : token.text.substr(0, 1);
            break;
        case Element::LocaleAmPm:
            out += afternoon ? locale.pmDesignator : locale.amDesignator;
            break;
        case Element::TimeSeparator:
            out += locale.timeSeparator;
            break;
        case Element::DateSeparator:
            out += locale.dateSeparator;
            break;
        case Element::DateTime:
            out += nested(locale.shortDateFormat);
            if (time.wHour != 0 || time.wMinute != 0 || time.wSecond != 0 ||
                time.wMilliseconds != 0)
                out += " " + nested(locale.longTimeFormat);
            break;
        }
    }
    return out;
}

// The locale's answer; nothing when the locale has no such value. An empty
// answer is a value (24-hour locales have empty designators).
std::optional<std::string> LocaleValue(LCTYPE type) {
    // Locale values are at most 80 units long.
    wchar_t buffer[256] = {};
    const int units =
        GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
    if (units <= 0)
        return std::nullopt;
    return Utf8Until(buffer, static_cast<size_t>(units));
}

void ReadLocale(LCTYPE type, std::string& target) {
    if (auto value = LocaleValue(type))
        target = *value;
}

void ReadLocaleFlag(LCTYPE type, const char* trueValue, bool& target) {
    if (auto value = LocaleValue(type); value && !value->empty())
        target = *value == trueValue;
}

// A picture character that must come out as written and not be read as an element.
void AppendLiteral(std::string& out, char c) {
    if (c == '"')
        out += "'\"'";
    else if (IsLetter(c) || c == ':' || c == '/' || c == '\'')
        out += std::string("\"") + c + "\"";
    else
        out += c;
}

} // namespace

std::string FromLocaleDatePicture(const std::string& picture) {
    std::string out;
    size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted text; a doubled quote inside stands for one quote.
            for (++i; i < picture.size(); ++i) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        AppendLiteral(out, '\'');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                AppendLiteral(out, picture[i]);
            }
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        if (c == 'd' || c == 'M')
            out += std::string(std::min<size_t>(run, 4), c == 'd' ? 'd' : 'm');
        else if (c == 'y')
            out += std::string(run, 'y');
        else if (c != 'g') // the era is not shown
            for (size_t k = 0; k < run; ++k)
                AppendLiteral(out, c);
        i += run;
    }
    return out;
}

std::string LongTimeFormatFor(const TLocaleFormats& locale) {
    std::string time = std::string(locale.hourLeadingZero ? "hh" : "h") + ":mm:ss";
    if (locale.twentyFourHour)
        return time;
    return locale.amPmBeforeTime ? "AMPM " + time : time + " AMPM";
}

TLocaleFormats UserLocaleFormats() {
    TLocaleFormats locale;
    ReadLocale(LOCALE_STIME, locale.timeSeparator);
    ReadLocale(LOCALE_SDATE, locale.dateSeparator);
    ReadLocale(LOCALE_S1159, locale.amDesignator);
    ReadLocale(LOCALE_S2359, locale.pmDesignator);
    for (LCTYPE month = 0; month < 12; ++month) {
        ReadLocale(LOCALE_SABBREVMONTHNAME1 + month, locale.shortMonthNames[month]);
        ReadLocale(LOCALE_SMONTHNAME1 + month, locale.longMonthNames[month]);
    }
    // The locale counts days from Monday (name 1) to Sunday (name 7).
    for (LCTYPE day = 0; day < 7; ++day) {
        size_t index = (day + 1) % 7;
        ReadLocale(LOCALE_SABBREVDAYNAME1 + day, locale.shortDayNames[index]);
        ReadLocale(LOCALE_SDAYNAME1 + day, locale.longDayNames[index]);
    }
    if (auto picture = LocaleValue(LOCALE_SSHORTDATE); picture && !picture->empty())
        locale.shortDateFormat = FromLocaleDatePicture(*picture);
    if (auto picture = LocaleValue(LOCALE_SLONGDATE); picture && !picture->empty())
        locale.longDateFormat = FromLocaleDatePicture(*picture);
    ReadLocaleFlag(LOCALE_ITLZERO, "1", locale.hourLeadingZero);
    ReadLocaleFlag(LOCALE_ITIME, "1", locale.twentyFourHour);
    ReadLocaleFlag(LOCALE_ITIMEMARKPOSN, "1", locale.amPmBeforeTime);
    locale.longTimeFormat = LongTimeFormatFor(locale);
    return locale;
}

std::string FormatDateTime(const std::string& pattern, const SYSTEMTIME& time,
                           const TLocaleFormats& locale) {
    return Format(pattern.empty() ? std::string_view("c") : std::string_view(pattern), time, locale,
                  0);
}

std::string DefaultTimeFormat(const TLocaleFormats& locale) {
    return "d| " + locale.longTimeFormat;
}

} // namespace orvane
