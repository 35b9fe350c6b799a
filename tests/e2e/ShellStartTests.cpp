// The shell's start as a user sees it: explorer ended, the log written, the
// shell registered as the logon shell, the logon programs started.
#include "tests/e2e/ShellHarness.h"

#include "system/KillProcess.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane::test;

namespace {

constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

} // namespace

TEST(ShellStart, UnderExplorerEndsItLogsAndBecomesTheDefaultShell) {
    ChildProcess helper;
    EnsureExplorerRunning(helper);
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_GE(shell.log.size(), 3u);
    EXPECT_EQ(shell.log[0].rfind("   *** Orvane Shell log - ", 0), 0u) << shell.log[0];
    EXPECT_EQ(shell.log[0].substr(shell.log[0].size() - 4), " ***");
    EXPECT_EQ(shell.log[1], "");
    EXPECT_TRUE(HasLineEndingWith(shell.log, " Program start"));
    EXPECT_TRUE(HasLineEndingWith(shell.log, " Run under explorer"));
    EXPECT_TRUE(
        HasLineEndingWith(shell.log, "Set default shell: " + install.ExePath() + "... done"));
    EXPECT_FALSE(IsProcessRunning("explorer.exe"));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kWinlogon, "Shell"), install.ExePath());
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell"), install.ExePath());
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(ShellStart, AtLogonRunsTheLogonProgramsOnce) {
    orvane::KillProcessByName("explorer.exe");
    ASSERT_TRUE(WaitUntil([] { return !IsProcessRunning("explorer.exe"); }, 5000));
    const std::string probe = "Started at logon";
    SetRegString(HKEY_CURRENT_USER, kRunOnce, "OrvaneProbe",
                 "\"" + BinDir() + "\\test_window.exe\" \"" + probe + "\"");

    ShellInstall install;
    StartedShell shell = StartShell(install);
    EXPECT_TRUE(HasLineEndingWith(shell.log, " Run on Windows start"));
    auto probeWindows = [&] {
        std::vector<HWND> windows;
        for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, probe.c_str()); w;
             w = FindWindowExA(nullptr, w, nullptr, probe.c_str()))
            windows.push_back(w);
        return windows;
    };
    EXPECT_TRUE(WaitUntil([&] { return !probeWindows().empty(); }, 10000));
    // Started at logon, a RunOnce command is gone afterwards.
    EXPECT_TRUE(WaitUntil(
        [] { return !GetRegString(HKEY_CURRENT_USER, kRunOnce, "OrvaneProbe").has_value(); },
        5000));
    // A second start of the same command would have shown by now.
    PumpMessagesFor(2000);
    const std::vector<HWND> started = probeWindows();
    EXPECT_EQ(started.size(), 1u) << "the logon programs run once";

    for (HWND window : started) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
            TerminateProcess(process, 0);
            CloseHandle(process);
        }
    }
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(ShellStart, LogoffClosesTheShell) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(shell.main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_NE(answer, 0u) << "the shell must let the logoff go on";
    EXPECT_TRUE(shell.process.wait(10000).has_value());
}
