#include "taskbar/ClockTick.h"

#include "skin/SkinButton.h"
#include "taskbar/ClockFormat.h"
#include "taskbar/TaskbarForm.h"

namespace orvane {

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
    taskbar.btnClock->SetCaption(FormatDateTime(taskbar.TimeFormat, now, locale));
    GetLocalTime(&now);
    taskbar.btnClock->SetHint(FormatDateTime(locale.longDateFormat, now, locale));
    GetLocalTime(&now);
    if (now.wSecond == 0)
        SetWindowPos(taskbar.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
}

} // namespace orvane
