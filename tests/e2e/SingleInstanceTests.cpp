// One shell per logon: a second start must leave the running one alone.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

bool LogHas(const ShellInstall& install, const std::string& text) {
    return FileExists(install.LogPath()) &&
           ReadFileText(install.LogPath()).find(text) != std::string::npos;
}

// The start is complete once the bar has laid itself out and the settings
// dialog, the last window, is there.
HWND StartAndWait(const ShellInstall& install, ChildProcess& shell) {
    shell = install.Start();
    HWND main = WaitForWindow(shell.id(), "TfrmTaskbar", 20000);
    EXPECT_NE(main, nullptr) << "no main window from " << install.ExePath();
    EXPECT_TRUE(WaitUntil([&] { return LogHas(install, "WMDisplayChange"); }, 20000));
    EXPECT_NE(WaitForWindow(shell.id(), "TfrmSettings", 20000), nullptr);
    return main;
}

int CountWindowsOfClass(const char* className) {
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExA(nullptr, w, className, nullptr))
        ++count;
    return count;
}

} // namespace

TEST(SingleInstance, SecondStartEndsAtOnceAndTouchesNothing) {
    ShellInstall install;
    ChildProcess first;
    HWND main = StartAndWait(install, first);
    ASSERT_NE(main, nullptr);

    // The mutex is named after the executable, not after the application title.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "PREVINST:Orvane_shell");
    EXPECT_NE(mutex, nullptr);
    if (mutex)
        CloseHandle(mutex);

    std::string logBefore = ReadFileText(install.LogPath());
    bool iniExisted = FileExists(install.IniPath());
    std::string iniBefore = iniExisted ? ReadFileText(install.IniPath()) : "";
    int windowsBefore = CountWindowsOfClass("TfrmTaskbar");

    ChildProcess second = install.Start();
    auto exitCode = second.wait(10000);
    ASSERT_TRUE(exitCode.has_value()) << "the second start did not end";
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_EQ(CountWindowsOfClass("TfrmTaskbar"), windowsBefore);
    EXPECT_EQ(ReadFileText(install.LogPath()), logBefore);
    EXPECT_EQ(FileExists(install.IniPath()), iniExisted);
    if (iniExisted) {
        EXPECT_EQ(ReadFileText(install.IniPath()), iniBefore);
    }
    EXPECT_TRUE(first.running());

    EXPECT_TRUE(CloseShell(first, main));
}

TEST(SingleInstance, CopyUnderAnotherNameIsNotExcluded) {
    ShellInstall original;
    ShellInstall copy("Orvane_Copy.exe");
    ChildProcess first, second;
    HWND firstMain = StartAndWait(original, first);
    HWND secondMain = StartAndWait(copy, second);
    EXPECT_NE(secondMain, nullptr);
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(second.running());
    // Each copy keeps its own log beside its executable.
    EXPECT_TRUE(LogHas(copy, "Program start"));
    EXPECT_TRUE(LogHas(copy, copy.ExePath() + "... done"));
    EXPECT_TRUE(CloseShell(second, secondMain));
    EXPECT_TRUE(CloseShell(first, firstMain));
}
