// icon_bench [lookups] [delay ms]: 1,000 own-icon lookups that each take
// 200 ms (the lookup pool's test hook stands in for a slow share) while the
// GUI thread runs its message loop with a 10 ms timer and a posted message
// echoing itself. Prints the longest gap between two handled messages (the
// stall figure), the time the requests took to make, and how many lookups
// finished meanwhile; then the same loop with no lookups as the baseline.
#include "bench/BenchSupport.h"
#include "system/IconLookup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace orvane;

namespace {

constexpr UINT kEcho = WM_APP + 9;
constexpr double kRunMs = 5000;

struct Gaps {
    double longest = 0;
    long handled = 0;
};

Gaps Loop(HWND window) {
    Gaps gaps;
    SetTimer(window, 1, 10, nullptr);
    PostMessageW(window, kEcho, 0, 0);
    const double start = bench::MicrosecondsNow();
    double last = start;
    MSG msg;
    while ((bench::MicrosecondsNow() - start) / 1000 < kRunMs && GetMessageW(&msg, nullptr, 0, 0)) {
        const double now = bench::MicrosecondsNow();
        gaps.longest = std::max(gaps.longest, (now - last) / 1000);
        last = now;
        ++gaps.handled;
        if (msg.hwnd == window && msg.message == kEcho)
            PostMessageW(window, kEcho, 0, 0);
        else
            DispatchMessageW(&msg);
    }
    KillTimer(window, 1);
    return gaps;
}

LRESULT CALLBACK Quiet(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    const int lookups = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int delay = argc > 2 ? std::max(0, std::atoi(argv[2])) : 200;
    HWND window = bench::CreateBareWindow("IconBenchLoop", Quiet);
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);

    const Gaps idle = Loop(window);
    std::printf("message loop alone: longest gap %.1f ms over %.0f ms (%ld messages)\n",
                idle.longest, kRunMs, idle.handled);

    TIconLookup& lookup = IconLookup();
    lookup.SetDelay(std::chrono::milliseconds(delay));
    int arrived = 0;
    std::vector<TIconRequest> requests;
    requests.reserve(static_cast<size_t>(lookups));
    const double asked = bench::MicrosecondsNow();
    for (int i = 0; i < lookups; ++i)
        requests.push_back(lookup.FileIcon(exe, true, [&](TIconFound&) { ++arrived; }));
    const double askMs = (bench::MicrosecondsNow() - asked) / 1000;
    const Gaps busy = Loop(window);
    std::printf("%d lookups of %d ms each asked in %.1f ms (%.3f ms each)\n", lookups, delay, askMs,
                askMs / lookups);
    std::printf("while they run: longest gap %.1f ms over %.0f ms (%ld messages), %d lookups "
                "finished (target: gap under 50 ms)\n",
                busy.longest, kRunMs, busy.handled, arrived);
    std::printf("ratio of the longest gaps, busy to idle: %.2f\n", busy.longest / idle.longest);
    requests.clear();
    std::fflush(stdout);
    ExitProcess(0); // workers still sleeping in their lookups go with the process
}
