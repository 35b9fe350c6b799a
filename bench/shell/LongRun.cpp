#include "bench/shell/LongRun.h"

#include "bench/BenchSupport.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace shellbench {

namespace {

// Before each snapshot: past the two idle seconds after which the icon lookup
// workers end, and what a step set off has settled.
constexpr DWORD kSettle = 3000;

void Pump(DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Batches of task windows of this process: the shell sees each come and go
// through its hook, as with any program.
bool ChurnWindows(int total) {
    constexpr int kBatch = 50;
    for (int done = 0; done < total; done += kBatch) {
        std::vector<HWND> batch;
        for (int i = 0; i < kBatch && done + i < total; ++i) {
            std::wstring title = L"Long run " + std::to_wstring(done + i);
            HWND window = CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPED, -300, -300,
                                          100, 50, nullptr, nullptr, nullptr, nullptr);
            if (!window)
                return false;
            SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_VISIBLE);
            batch.push_back(window);
        }
        // The taskbar's watch looks ten times a second: the buttons come.
        Pump(150);
        for (HWND window : batch)
            DestroyWindow(window);
        Pump(150);
    }
    return true;
}

bool CycleIcons(int cycles) {
    for (int i = 0; i < cycles; ++i) {
        TrayIcon icon(static_cast<uint32_t>(5000 + i % 7));
        if (!icon.Add() || !icon.Modify(i % 2 == 1) || !icon.Delete())
            return false;
    }
    return true;
}

bool SlidePanel(const Process& shell, int slides) {
    for (int i = 0; i < slides; ++i)
        if (!ShowStartPanel(shell) || !HideStartPanel(shell))
            return false;
    return true;
}

bool Browse(const Process& shell, int browsers) {
    for (int i = 0; i < browsers; ++i) {
        HWND browser = OpenBrowserOnDrive(shell, "c:", 20000);
        if (!browser)
            return false;
        PostMessageW(browser, WM_CLOSE, 0, 0);
        DWORD start = GetTickCount();
        while (IsWindow(browser) && GetTickCount() - start < 20000)
            Sleep(10);
        if (IsWindow(browser))
            return false;
    }
    return true;
}

} // namespace

bool WithinPercent(double before, double after, double percent) {
    return std::fabs(after - before) <= std::max(1.0, before * percent / 100.0);
}

LongRunResult RunLongRun(const Process& shell, const LongRunPlan& plan,
                         const std::function<void(const std::string&)>& report) {
    LongRunResult result;
    auto step = [&](const char* what, bool ok, double startUs) {
        const double seconds = (bench::MicrosecondsNow() - startUs) / 1e6;
        const ProcessFigures now = FiguresOf(shell);
        char line[200];
        std::snprintf(line, sizeof line,
                      "%-14s %s in %6.1f s: resident %.1f MB, handles %lu, windows %d, threads %d",
                      what, ok ? "done" : "FAILED", seconds, now.residentMb,
                      static_cast<unsigned long>(now.handles), now.windows, now.threads);
        if (report)
            report(line);
        if (!ok && result.failure.empty())
            result.failure = what;
        return ok;
    };
    // One round of each first: caches, pools and the panel's lists settle.
    double t = bench::MicrosecondsNow();
    if (!step("warm-up",
              ChurnWindows(50) && CycleIcons(10) && SlidePanel(shell, 1) && Browse(shell, 1), t))
        return result;
    // Longer than the icon lookup workers' idle time: they have ended.
    Sleep(kSettle);
    result.before = FiguresOf(shell);
    const auto classesBefore = WindowClassesOf(shell);

    t = bench::MicrosecondsNow();
    if (!step("windows", ChurnWindows(plan.windows), t))
        return result;
    t = bench::MicrosecondsNow();
    if (!step("tray cycles", CycleIcons(plan.trayCycles), t))
        return result;
    t = bench::MicrosecondsNow();
    if (!step("panel slides", SlidePanel(shell, plan.slides), t))
        return result;
    t = bench::MicrosecondsNow();
    if (!step("browsers", Browse(shell, plan.browsers), t))
        return result;
    Sleep(kSettle);
    result.after = FiguresOf(shell);
    // Which kinds of window a difference is made of.
    auto classesAfter = WindowClassesOf(shell);
    for (const auto& [name, count] : classesBefore)
        classesAfter[name] -= count;
    for (const auto& [name, more] : classesAfter)
        if (more != 0 && report) {
            char line[160];
            std::snprintf(line, sizeof line, "windows of class %ls: %+d", name.c_str(), more);
            report(line);
        }
    result.completed = true;
    return result;
}

} // namespace shellbench
