#pragma once
// The benchmarks' clock: microseconds from the performance counter.
#include <windows.h>

namespace bench {

inline double MicrosecondsNow() {
    static const double perMicrosecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / perMicrosecond;
}

} // namespace bench
