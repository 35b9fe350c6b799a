#include "taskbar/ClockTick.h"

#include "base/Win32Handles.h"
#include "paint/Canvas.h"
#include "widgets/SkinButton.h"
#include "taskbar/ClockFormat.h"

namespace orvane {

namespace {

constexpr int kClockFontSize = 8;
constexpr int kSmallestClockFontSize = 6;
// The skinned button's border and a little air on either side.
constexpr int kClockPadding = 8;

// A long pattern (seconds and AM/PM in a 12-hour locale) would be cut off in
// the designed font: the font steps down until the caption fits.
void FitClockFont(TSkinButton& clock, const std::string& caption) {
    WindowDc screen(nullptr);
    TCanvas canvas(screen.get());
    TFont font = clock.Font;
    for (font.Size = kClockFontSize; font.Size > kSmallestClockFontSize; --font.Size) {
        canvas.Font = font;
        if (canvas.TextWidth(caption) <= clock.Width() - kClockPadding)
            break;
    }
    if (font.Size != clock.Font.Size) {
        clock.Font.Size = font.Size;
        clock.Invalidate();
    }
}

} // namespace

std::string DefaultClockFormat() {
    return DefaultTimeFormat(UserLocaleFormats());
}

void ShowClockTime(TSkinButton& clock, const std::string& pattern) {
    const TLocaleFormats locale = UserLocaleFormats();
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string caption = FormatDateTime(pattern, now, locale);
    if (caption != clock.Caption()) {
        FitClockFont(clock, caption);
        clock.SetCaption(caption);
    }
    GetLocalTime(&now);
    clock.SetHint(FormatDateTime(locale.longDateFormat, now, locale));
}

} // namespace orvane
