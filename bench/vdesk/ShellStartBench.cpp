// shell_start_bench FOLDER [RUNS]: starts FOLDER\Orvane_Shell.exe RUNS times
// (default 5) in the current desktop and prints, per run and as a median, the
// time from the process start to the bar being placed at the bottom of the
// screen, and to the start's last log line ("WMDisplayChange"). Each run's
// shell is closed before the next. Run it in a prefix whose desktop is the
// one to measure, e.g. a Wine virtual desktop (see docs/DEVELOPING.md).
#include "bench/BenchSupport.h"
#include "system/VirtualDesktop.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool LogHas(const std::string& path, const char* text) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str().find(text) != std::string::npos;
}

bool BarPlaced(HWND bar) {
    RECT rect{};
    return bar && IsWindowVisible(bar) && GetWindowRect(bar, &rect) &&
           rect.top == GetSystemMetrics(SM_CYSCREEN) - 30;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: shell_start_bench FOLDER [RUNS]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string exe = folder + "\\Orvane_Shell.exe", log = folder + "\\Orvane_Shell.log";
    std::printf("explorer hosts a virtual desktop: %s\n",
                orvane::ExplorerHostsVirtualDesktop() ? "yes" : "no");
    std::vector<double> barTimes, logTimes;
    for (int run = 1; run <= runs; ++run) {
        DeleteFileA(log.c_str());
        std::string command = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        const double start = bench::MicrosecondsNow();
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &process)) {
            std::fprintf(stderr, "cannot start %s\n", exe.c_str());
            return 1;
        }
        double barAt = 0, logAt = 0;
        HWND bar = nullptr;
        while ((barAt == 0 || logAt == 0) && bench::MicrosecondsNow() - start < 60e6 &&
               WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
            if (!bar)
                bar = FindWindowA("TfrmTaskbar", nullptr);
            if (barAt == 0 && BarPlaced(bar))
                barAt = bench::MicrosecondsNow();
            if (logAt == 0 && LogHas(log, "WMDisplayChange"))
                logAt = bench::MicrosecondsNow();
        }
        if (barAt == 0 || logAt == 0) {
            std::fprintf(stderr, "run %d: the shell did not finish its start\n", run);
            TerminateProcess(process.hProcess, 1);
            return 1;
        }
        barTimes.push_back((barAt - start) / 1000);
        logTimes.push_back((logAt - start) / 1000);
        std::printf("run %d: bar placed %.0f ms, start logged %.0f ms\n", run, barTimes.back(),
                    logTimes.back());
        PostMessageA(bar, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::printf("median of %d: bar placed %.0f ms, start logged %.0f ms\n", runs, Median(barTimes),
                Median(logTimes));
    return 0;
}
