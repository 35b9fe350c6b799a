#pragma once
// The taskbar's heartbeat: every tick of tmrClock keeps the desktop shown,
// shows the time and date, and once a minute puts the bar on top again.
#include <string>

namespace orvane {

class TfrmTaskbar;

// "d| " and the user's long time format: the clock pattern nobody chose.
std::string DefaultClockFormat();
void TickClock(TfrmTaskbar& taskbar);

} // namespace orvane
