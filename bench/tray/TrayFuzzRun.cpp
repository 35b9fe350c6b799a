// The long fuzz run: 100,000 random request blocks against the tray window (a
// shorter run is part of tray_fuzz_tests). Prints the time taken, the replies,
// whether the tray stayed consistent and what the process holds before and after.
#include "bench/tray/BenchTray.h"
#include "tests/tray/TrayFuzz.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    traybench::BenchTray bench;
    std::vector<HWND> owners;
    for (int i = 0; i < 6; ++i)
        owners.push_back(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 1, 1, nullptr,
                                         nullptr, nullptr, nullptr));
    traytest::RunFuzz(*bench.tray, *bench.plSysTray, owners, 2000, 1, 100);
    traytest::RemoveAllIcons(*bench.tray);
    auto before = traytest::CurrentResourceUse();
    DWORD start = GetTickCount();
    auto result = traytest::RunFuzz(*bench.tray, *bench.plSysTray, owners, count, 7, 100);
    DWORD elapsed = GetTickCount() - start;
    traytest::RemoveAllIcons(*bench.tray);
    auto after = traytest::CurrentResourceUse();
    bool canMake = traytest::CanStillMakeObjects(2000);
    std::printf("fuzz: %d requests in %lu ms (%.1f us each), %d replied 1, at most %d icons\n",
                result.requests, elapsed, elapsed * 1000.0 / result.requests, result.accepted,
                result.mostIcons);
    std::printf("consistency: %s\n", result.fault.empty() ? "kept" : result.fault.c_str());
    std::printf("windows of the thread %zu -> %zu\n", before.windows, after.windows);
    std::printf("private bytes %zu -> %zu; 2000 more icons and brushes: %s\n", before.privateBytes,
                after.privateBytes, canMake ? "made" : "FAILED");
    for (HWND owner : owners)
        DestroyWindow(owner);
    return result.fault.empty() && canMake ? 0 : 1;
}
