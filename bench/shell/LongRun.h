#pragma once
// The long run against a running shell: windows made and destroyed, tray icons
// added, changed and deleted, the start panel slid in and out, file browsers
// opened and closed; the shell's figures before and after.
#include "bench/shell/ShellBenchSupport.h"

#include <functional>
#include <string>

namespace shellbench {

struct LongRunPlan {
    int windows = 10000;
    int trayCycles = 10000;
    int slides = 1000;
    int browsers = 200;
};

struct LongRunResult {
    ProcessFigures before, after;
    bool completed = false;
    std::string failure; // what stopped the run, when it did not complete
};

// `report` gets a line per step (may be empty).
LongRunResult RunLongRun(const Process& shell, const LongRunPlan& plan,
                         const std::function<void(const std::string&)>& report = {});

// True when `after` is within `percent` of `before` (at least one unit for counts).
bool WithinPercent(double before, double after, double percent);

} // namespace shellbench
