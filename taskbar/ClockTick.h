#pragma once
// The clock's face: the time in the user's pattern as the caption, the long
// date as the hint. The taskbar calls it at every tick of tmrClock.
#include <string>

namespace orvane {

class TSkinButton;

// "d| " and the user's long time format: the clock pattern nobody chose.
std::string DefaultClockFormat();
// Puts the current time in `pattern` on `clock` (stepping its font down when
// the text would not fit) and the long date into its hint.
void ShowClockTime(TSkinButton& clock, const std::string& pattern);

} // namespace orvane
