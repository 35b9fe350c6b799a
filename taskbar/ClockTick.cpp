#include "taskbar/ClockTick.h"

#include "base/Win32Handles.h"
#include "paint/Canvas.h"
#include "widgets/SkinButton.h"
#include "taskbar/ClockFormat.h"
#include "taskbar/TaskbarForm.h"

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

void TickClock(TfrmTaskbar& taskbar) {
    if (taskbar.Desktop && !taskbar.Desktop->Visible()) {
        taskbar.RefreshTaskButtons();
        taskbar.Desktop->Show();
    }
    const TLocaleFormats locale = UserLocaleFormats();
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string caption = FormatDateTime(taskbar.TimeFormat, now, locale);
    if (caption != taskbar.btnClock->Caption()) {
        FitClockFont(*taskbar.btnClock, caption);
        taskbar.btnClock->SetCaption(caption);
    }
    GetLocalTime(&now);
    taskbar.btnClock->SetHint(FormatDateTime(locale.longDateFormat, now, locale));
    GetLocalTime(&now);
    if (now.wSecond == 0)
        SetWindowPos(taskbar.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

} // namespace orvane
