// A shell killed in the middle of its run and started again: the next start
// sees the unclean end and asks, every program's notify icon comes back
// through "TaskbarCreated", every window has one task button, and the saved
// work area is the user's, not the one the dead shell had taken.
#include "bench/shell/ShellBenchSupport.h"
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane::test;

namespace {

constexpr int kWindows = 3, kIcons = 2;

int ButtonsCaptioned(HWND taskbar, const std::string& caption) {
    auto buttons = TaskButtonsOf(taskbar);
    return static_cast<int>(
        std::count_if(buttons.begin(), buttons.end(),
                      [&](const TaskButtonView& b) { return b.caption == caption; }));
}

bool OneButtonPerWindow(HWND taskbar) {
    for (int i = 1; i <= kWindows; ++i)
        if (ButtonsCaptioned(taskbar, "Bench window " + std::to_string(i)) != 1)
            return false;
    return true;
}

size_t IconsShown(HWND taskbar) {
    HWND tray = FindControl(taskbar, "plSysTray");
    return tray ? ChildWindows(tray).size() : 0;
}

} // namespace

TEST(ShellCrashE2E, AShellKilledMidRunComesBackWithEveryIconAndOneButtonPerWindow) {
    ShellInstall install;
    StartedShell first = StartShell(install);
    ASSERT_NE(first.main, nullptr);
    shellbench::Process helper = shellbench::Process::Start(
        L"\"" + shellbench::Wide(BinDir()) + L"\\shell_bench.exe\" --helper " +
            std::to_wstring(kWindows) + L" " + std::to_wstring(kIcons),
        L"");
    ASSERT_TRUE(shellbench::WaitForIcons(helper, 20000));
    ASSERT_TRUE(WaitUntil([&] { return IconsShown(first.main) == kIcons; }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return OneButtonPerWindow(first.main); }, 10000));

    // Killed as a crash ends it: no close handling, nothing put back.
    TerminateProcess(first.process.handle(), 0xC0000005);
    ASSERT_TRUE(first.process.wait(10000).has_value());

    ChildProcess second = install.Start();
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindMessageBox(second.id(), "Warning")) != nullptr; }, 20000))
        << "the unclean end goes unnoticed";
    EXPECT_NE(MessageBoxText(box).find("Perhaps program has not finished correctly last time."),
              std::string::npos);
    // Cancel: the shell goes on with its normal start.
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    HWND main = WaitForWindow(second.id(), "TfrmTaskbar", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return ReadFileText(install.LogPath()).find("WMDisplayChange") != std::string::npos;
        },
        20000));

    EXPECT_TRUE(WaitUntil([&] { return IconsShown(main) == kIcons; }, 15000))
        << IconsShown(main) << " icons after the restart";
    EXPECT_TRUE(WaitUntil([&] { return OneButtonPerWindow(main); }, 10000));
    Sleep(500); // a late second button would show now
    EXPECT_TRUE(OneButtonPerWindow(main));
    EXPECT_EQ(IconsShown(main), static_cast<size_t>(kIcons));

    const std::string log = ReadFileText(install.LogPath());
    EXPECT_NE(log.find("Program start"), std::string::npos);
    EXPECT_EQ(log.find("Work end"), std::string::npos);
    const std::string ini = ReadFileText(install.IniPath());
    EXPECT_NE(ini.find("ScreenBottom=" + std::to_string(GetSystemMetrics(SM_CYSCREEN))),
              std::string::npos)
        << ini;

    helper.Terminate();
    EXPECT_TRUE(CloseShell(second, main));
}
