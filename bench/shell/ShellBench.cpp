// shell_bench: the figures a user of the whole shell feels, each beside the
// same figure of Wine's own explorer desktop, measured in one run.
//
//   shell_bench start FOLDER [RUNS]   start-up: process start to the bar drawn and
//                                     the tray answering (median of RUNS, default 10)
//   shell_bench memory FOLDER [BASE]  resident memory idle, then with 50 windows,
//                                     30 tray icons, 1,000 start-menu entries and
//                                     a browser on drive T: (10,000 files); BASE,
//                                     another program folder, is measured first
//   shell_bench tray FOLDER           Shell_NotifyIcon add and delete against the
//                                     running shell at 50 and 500 icons, beside a
//                                     bare WM_COPYDATA round trip of the same size
//   shell_bench long FOLDER [SCALE]   the long run (SCALE 100 = 10,000 windows,
//                                     10,000 tray cycles, 1,000 slides, 200 browsers)
//
// FOLDER is a program folder (a copy of the installed one) that the bench may
// use as its own: the shell's log and configuration land there. bench/shell/run
// makes the prefix, the drive and the folder and runs a mode.
#include "bench/BenchSupport.h"
#include "bench/shell/LongRun.h"
#include "bench/shell/ShellBenchSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace shellbench;

namespace {

double Percentile(std::vector<double> values, double at) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[static_cast<size_t>(at * (values.size() - 1) + 0.5)];
}

double Median(std::vector<double> values) {
    return Percentile(std::move(values), 0.5);
}

// ---- start-up -----------------------------------------------------------

// Start to "bar drawn and tray answering": the bar's window of the process
// there (and shown, when `shown`), and a notify-icon add answered. Explorer's
// desktop outside a virtual desktop keeps its Shell_TrayWnd hidden.
double TimeStart(const std::wstring& command, const std::wstring& folder, const char* barClass,
                 bool shown, Process& process, double* finishedMs = nullptr) {
    const double start = bench::MicrosecondsNow();
    process = Process::Start(command, folder);
    if (!process)
        return -1;
    TrayIcon probe(9001);
    bool answered = false;
    // Explorer: the desktop of whichever explorer.exe came up. Any program's
    // first look at the desktop starts one when there is none (ours then ends
    // at once, leaving the desktop to it), so the race is part of the figure.
    while (bench::MicrosecondsNow() - start < 60e6 && (process.Running() || !shown)) {
        if (!answered)
            answered = probe.Add();
        HWND bar = FindWindowW(Wide(barClass).c_str(), nullptr);
        if (answered && bar && (!shown || IsWindowVisible(bar)) &&
            (!shown || OwnedBy(bar, process.Id()))) {
            const double ms = (bench::MicrosecondsNow() - start) / 1000;
            // The shell's windows beside the bar (hidden until used) and its
            // logon programs come after the bar: when that part ended.
            while (finishedMs && !StartFinished(process) &&
                   bench::MicrosecondsNow() - start < 60e6 && process.Running())
                Sleep(2);
            if (finishedMs)
                *finishedMs = (bench::MicrosecondsNow() - start) / 1000;
            return ms;
        }
        Sleep(2);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Handle(), &code);
    std::fprintf(stderr, "no %s: running %d (exit code %lu), tray answered %d\n", barClass,
                 process.Running() ? 1 : 0, static_cast<unsigned long>(code), answered ? 1 : 0);
    return -1;
}

int RunStart(const std::string& folder, int runs) {
    EndExplorer();
    // Explorer once, first: after an explorer desktop of the session ended,
    // "explorer.exe /desktop" ends at once (exit code 0) and no desktop comes
    // up, so only the session's first start can be timed; it pays for the
    // page cache too. The shell's series begins with a start that is not
    // counted.
    std::vector<double> shell, explorer, finished;
    for (int turn = 0; turn < 2; ++turn) {
        const bool shellTurn = turn == 1;
        for (int run = shellTurn ? 0 : 1; run <= (shellTurn ? runs : 1); ++run) {
            Process process;
            double ms, done = 0;
            if (shellTurn) {
                DeleteFileW(Wide(folder + "\\Orvane_Shell.log").c_str());
                ms = TimeStart(L"\"" + Wide(folder) + L"\\Orvane_Shell.exe\"", Wide(folder),
                               "TfrmTaskbar", true, process, &done);
                CloseShell(process);
            } else {
                ms = TimeStart(L"explorer.exe /desktop", L"C:\\windows", "Shell_TrayWnd", false,
                               process);
                EndExplorer();
            }
            std::printf("run %2d %-8s %8.0f ms", run, shellTurn ? "shell" : "explorer", ms);
            if (shellTurn)
                std::printf("  (whole start %6.0f ms)", done);
            std::printf("%s\n", run == 0 ? " (not counted)" : "");
            std::fflush(stdout);
            if (ms < 0)
                return 1;
            if (run > 0)
                (shellTurn ? shell : explorer).push_back(ms);
            if (run > 0 && shellTurn)
                finished.push_back(done);
        }
    }
    const double s = Median(shell), e = Median(explorer);
    std::printf("start-up: shell %.0f ms (median of %d), explorer desktop %.0f ms (its first start "
                "in the session): %.2f x\n",
                s, runs, e, s / e);
    std::printf("the shell's whole start (the windows beside the bar made): %.0f ms (median)\n",
                Median(finished));
    return 0;
}

// ---- memory -------------------------------------------------------------

constexpr int kWindows = 50, kIcons = 30, kEntries = 1000;

void PrintMemory(const char* what, const Process& process) {
    const MemoryFigures m = MemoryOf(process);
    const MemoryMap map = MemoryMapOf(process);
    std::printf("%-44s resident %6.1f MB  private %6.1f MB; committed: images %6.1f MB, "
                "mapped %6.1f MB, own %6.1f MB\n",
                what, m.residentMb, m.privateMb, map.imageMb, map.mappedMb, map.privateMb);
    std::fflush(stdout);
}

// One shell program's figures, idle and then under load; false when it did
// not come up.
bool MeasureShell(const std::string& label, const std::string& folder) {
    DeleteFileW(Wide(folder + "\\Orvane_Shell.log").c_str());
    Process shell = Process::Start(L"\"" + Wide(folder) + L"\\Orvane_Shell.exe\"", Wide(folder));
    if (!WaitForShell(shell, 30000))
        return false;
    Sleep(3000);
    PrintMemory((label + ", idle").c_str(), shell);
    Process helper = StartHelper(kWindows, kIcons);
    WaitForIcons(helper, 20000);
    Sleep(3000);
    PrintMemory((label + ", 50 windows + 30 icons").c_str(), shell);
    if (!ShowStartPanel(shell))
        std::printf("the start panel did not slide in\n");
    Sleep(2000);
    PrintMemory((label + ", + start panel shown (1,000 entries)").c_str(), shell);
    // The browser's listing and its icons come in after the caption.
    if (OpenBrowserOnDrive(shell, "t:", 60000)) {
        Sleep(3000);
        PrintMemory((label + ", + browser on T: (10,000 files)").c_str(), shell);
    } else {
        std::printf("no browser on t: (bench/shell/run makes the drive)\n");
    }
    helper.Terminate();
    CloseShell(shell);
    return true;
}

// `baseline`: another program folder (an earlier build) measured the same
// way in the same run, before this one; empty for none.
int RunMemory(const std::string& folder, const std::string& baseline) {
    EndExplorer();
    const std::vector<std::string> made = MakeStartMenuEntries(kEntries);
    std::printf("start-menu entries made: %zu\n", made.size() * 20);

    // Wine's explorer desktop: idle, then with the windows and icons.
    {
        Process explorer = Process::Start(L"explorer.exe /desktop", L"C:\\windows");
        WaitForTray(explorer.Id(), 20000);
        Sleep(3000);
        PrintMemory("explorer desktop, idle", explorer);
        Process helper = StartHelper(kWindows, kIcons);
        WaitForIcons(helper, 20000);
        Sleep(3000);
        PrintMemory("explorer desktop, 50 windows + 30 icons", explorer);
        helper.Terminate();
        explorer.Terminate();
    }
    const bool ok =
        (baseline.empty() || MeasureShell("baseline", baseline)) && MeasureShell("shell", folder);
    RemoveMade(made);
    return ok ? 0 : 1;
}

// ---- tray ---------------------------------------------------------------

void PrintTray(const char* what, int icons, double median, double bare) {
    std::printf("%-28s %4d icons: median %8.1f us  (%.2f x bare %.1f us)\n", what, icons, median,
                median / bare, bare);
    std::fflush(stdout);
}

int RunTray(const std::string& folder) {
    EndExplorer();
    DeleteFileW(Wide(folder + "\\Orvane_Shell.log").c_str());
    Process shell = Process::Start(L"\"" + Wide(folder) + L"\\Orvane_Shell.exe\"", Wide(folder));
    if (!WaitForShell(shell, 30000))
        return 1;
    Process sink = StartHelper(0, 0);
    HWND sinkWindow = WaitForSink(20000);
    if (!sinkWindow)
        return 1;
    constexpr int kRounds = 60;
    std::vector<TrayIcon> present;
    uint32_t nextId = 1;
    const size_t addBytes = TrayIcon(0).AddBlockSize(), deleteBytes = 960;
    for (int wanted : {50, 500}) {
        while (static_cast<int>(present.size()) < wanted) {
            present.emplace_back(nextId++);
            present.back().Add();
        }
        // Each request beside a bare round trip of its size, taken right
        // before it: the machine's load changes both alike.
        TrayIcon extra(0x100000);
        std::vector<double> add, last, first, bareAdds, bareDeletes;
        for (int i = 0; i < kRounds; ++i) {
            bareAdds.push_back(BareRoundTrip(sinkWindow, addBytes, 1));
            double t0 = bench::MicrosecondsNow();
            extra.Add();
            add.push_back(bench::MicrosecondsNow() - t0);
            bareDeletes.push_back(BareRoundTrip(sinkWindow, deleteBytes, 1));
            double t1 = bench::MicrosecondsNow();
            extra.Delete();
            last.push_back(bench::MicrosecondsNow() - t1);
            // The first icon: every other icon moves one place.
            TrayIcon front = present.front();
            present.erase(present.begin());
            bareDeletes.push_back(BareRoundTrip(sinkWindow, deleteBytes, 1));
            double t2 = bench::MicrosecondsNow();
            front.Delete();
            first.push_back(bench::MicrosecondsNow() - t2);
            front.Add();
            present.push_back(front);
        }
        const double bareAdd = Median(bareAdds), bareDelete = Median(bareDeletes);
        PrintTray("add", wanted, Median(add), bareAdd);
        std::printf("%-28s %4d icons: 90th percentile add %.1f us, delete %.1f us\n", "", wanted,
                    Percentile(add, 0.9), Percentile(last, 0.9));
        PrintTray("delete last", wanted, Median(last), bareDelete);
        PrintTray("delete first", wanted, Median(first), bareDelete);
        // The tray answers from its list and shows the change a moment later,
        // once for a burst: the time until the panel has its new width.
        if (HWND panel =
                ControlNamed(TopWindowsOf(shell.Id(), L"TfrmTaskbar").front(), "plSysTray")) {
            auto widthOf = [panel] {
                RECT r{};
                GetWindowRect(panel, &r);
                return r.right - r.left;
            };
            std::vector<double> shown;
            for (int i = 0; i < 20; ++i) {
                const int before = widthOf();
                const double t0 = bench::MicrosecondsNow();
                extra.Add();
                while (widthOf() == before && bench::MicrosecondsNow() - t0 < 2e6)
                    Sleep(0);
                shown.push_back(bench::MicrosecondsNow() - t0);
                extra.Delete();
                while (widthOf() != before && bench::MicrosecondsNow() - t0 < 4e6)
                    Sleep(1);
            }
            std::printf("%-28s %4d icons: median %8.1f us\n", "add until shown", wanted,
                        Median(shown));
        }
    }
    for (TrayIcon& icon : present)
        icon.Delete();
    sink.Terminate();
    CloseShell(shell);
    return 0;
}

// ---- long run -----------------------------------------------------------

void PrintFigures(const char* when, const ProcessFigures& f) {
    std::printf("%-7s resident %7.1f MB  handles %5lu  windows %5d  threads %3d\n", when,
                f.residentMb, static_cast<unsigned long>(f.handles), f.windows, f.threads);
}

double FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<double>(data.nFileSizeLow);
}

int RunLong(const std::string& folder, int scale) {
    EndExplorer();
    DeleteFileW(Wide(folder + "\\Orvane_Shell.log").c_str());
    Process shell = Process::Start(L"\"" + Wide(folder) + L"\\Orvane_Shell.exe\"", Wide(folder));
    if (!WaitForShell(shell, 30000))
        return 1;
    LongRunPlan plan{100 * scale, 100 * scale, 10 * scale, 2 * scale};
    std::printf("long run: %d windows, %d tray cycles, %d slides, %d browsers\n", plan.windows,
                plan.trayCycles, plan.slides, plan.browsers);
    LongRunResult result = RunLongRun(shell, plan, [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });
    if (!result.completed) {
        std::printf("the long run stopped at: %s\n", result.failure.c_str());
        CloseShell(shell);
        return 1;
    }
    PrintFigures("before", result.before);
    PrintFigures("after", result.after);
    const ProcessFigures &b = result.before, &a = result.after;
    std::printf("within 5 %%: resident %s, handles %s, windows %s, threads %s\n",
                WithinPercent(b.residentMb, a.residentMb, 5) ? "yes" : "NO",
                WithinPercent(b.handles, a.handles, 5) ? "yes" : "NO",
                WithinPercent(b.windows, a.windows, 5) ? "yes" : "NO",
                WithinPercent(b.threads, a.threads, 5) ? "yes" : "NO");
    std::printf("work log: %.0f bytes, rotated part %.0f bytes\n",
                FileBytes(folder + "\\Orvane_Shell.log"),
                FileBytes(folder + "\\Orvane_Shell.log.1"));
    CloseShell(shell);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--helper")
        return RunHelper(argc > 2 ? std::atoi(argv[2]) : 0, argc > 3 ? std::atoi(argv[3]) : 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: shell_bench start|memory|tray|long FOLDER [N]\n");
        return 2;
    }
    const std::string mode = argv[1], folder = argv[2];
    const int n = argc > 3 ? std::atoi(argv[3]) : 0;
    const std::string third = argc > 3 ? argv[3] : "";
    if (mode == "start")
        return RunStart(folder, n > 0 ? n : 10);
    if (mode == "memory")
        return RunMemory(folder, third);
    if (mode == "tray")
        return RunTray(folder);
    if (mode == "long")
        return RunLong(folder, n > 0 ? n : 100);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
