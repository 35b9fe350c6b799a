// The shell in a Wine virtual desktop, which explorer.exe hosts: the shell
// leaves explorer running, its bar sits on the desktop, task buttons follow the
// windows, and programs' notify icons reach the shell's tray, also those of a
// program that was there first.
#include "tests/e2e/ShellHarness.h"

#include "system/VirtualDesktop.h"

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

// Explorer's "Shell_TrayWnd" windows that are shown.
int ShownExplorerTrays(DWORD shellId) {
    int shown = 0;
    for (HWND window = FindWindowExA(nullptr, nullptr, "Shell_TrayWnd", nullptr); window;
         window = FindWindowExA(nullptr, window, "Shell_TrayWnd", nullptr))
        if (ProcessOf(window) != shellId && IsWindowVisible(window))
            ++shown;
    return shown;
}

ChildProcess StartTrayClient(const std::string& out, const std::string& steps) {
    return ChildProcess::Start("\"" + BinDir() + "\\tray_client.exe\" --out \"" + out +
                               "\" --wine " + steps);
}

class VirtualDesktop : public ::testing::Test {
  protected:
    void SetUp() override {
        // The desktop process comes up with the first window of the session.
        helper_ = StartWindowHelper("Desktop starter");
        ASSERT_TRUE(WaitUntil([] { return orvane::ExplorerHostsVirtualDesktop(); }, 20000))
            << "this test needs a prefix whose desktop is a virtual one";
    }
    ChildProcess helper_;
};

} // namespace

TEST_F(VirtualDesktop, ShellStaysBesideExplorerWithItsBarOnTheDesktop) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    EXPECT_TRUE(HasLineEndingWith(shell.log, "Explorer hosts the virtual desktop: left running"));
    EXPECT_TRUE(HasLineEndingWith(shell.log, "Run under explorer"));

    // Ten seconds on, neither has ended the other.
    EXPECT_FALSE(WaitUntil(
        [&] { return !shell.process.running() || !IsProcessRunning("explorer.exe"); }, 10000));
    ASSERT_TRUE(shell.process.running());
    EXPECT_TRUE(orvane::ExplorerHostsVirtualDesktop());
    RECT bar{};
    GetWindowRect(shell.main, &bar);
    EXPECT_EQ(bar.top, GetSystemMetrics(SM_CYSCREEN) - 30);
    EXPECT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(IsWindowVisible(shell.main));
    HWND atBottom = WindowFromPoint({5, GetSystemMetrics(SM_CYSCREEN) - 10});
    EXPECT_EQ(ProcessOf(atBottom), shell.process.id());

    ChildProcess alphaProgram = StartWindowHelper("Alpha window");
    ChildProcess betaProgram = StartWindowHelper("Beta window");
    HWND alpha = nullptr, beta = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            alpha = FindWindowA(nullptr, "Alpha window");
            beta = FindWindowA(nullptr, "Beta window");
            return alpha && beta && TaskButtonsOf(shell.main).size() == 3;
        },
        15000));
    SetForegroundWindow(alpha);
    EXPECT_TRUE(WaitUntil([&] { return DownCaption(shell.main) == "Alpha window"; }, 5000))
        << DownCaption(shell.main);
    SetForegroundWindow(beta);
    EXPECT_TRUE(WaitUntil([&] { return DownCaption(shell.main) == "Beta window"; }, 5000))
        << DownCaption(shell.main);

    // A window moved over the bar stays beneath it on the screen (the pixel
    // read from the screen is the bar's, not the window's white).
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(beta, nullptr, 200, height - 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto screenPixel = [](int x, int y) {
        HDC screen = GetDC(nullptr);
        COLORREF pixel = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        return pixel;
    };
    EXPECT_TRUE(WaitUntil([&] { return screenPixel(300, height - 8) != RGB(255, 255, 255); }, 5000))
        << "the window covers the bar";
    // Restored, it is mapped anew, above everything on the screen.
    ShowWindow(beta, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(beta) != FALSE; }, 5000));
    ShowWindow(beta, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(beta); }, 5000));
    PumpMessagesFor(1500);
    EXPECT_NE(screenPixel(300, height - 8), RGB(255, 255, 255))
        << "the restored window covers the bar";

    EXPECT_TRUE(CloseShell(shell.process, shell.main));
    EXPECT_TRUE(IsProcessRunning("explorer.exe"));
}

TEST_F(VirtualDesktop, NotifyIconsOfProgramsBeforeAndAfterTheShellReachItsTray) {
    ScratchDir dir("vdesktray");
    const std::string before = dir / "before.txt", after = dir / "after.txt";
    // The first program meets explorer's tray, which then shows Wine's
    // taskbar, and adds its icon again when the shell's tray announces itself.
    ChildProcess first =
        StartTrayClient(before, "add 7 Before created 60000 add 7 Before callbacks 1 60000");
    ASSERT_TRUE(WaitUntil([] { return ShownExplorerTrays(0) > 0; }, 15000));

    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    HWND panel = FindControl(shell.main, "plSysTray");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ShownExplorerTrays(shell.process.id()) == 0; }, 5000));
    EXPECT_EQ(ProcessOf(FindWindowA("Shell_TrayWnd", nullptr)), shell.process.id());
    ASSERT_TRUE(WaitUntil([&] { return ChildWindows(panel).size() == 1; }, 20000));

    ChildProcess second = StartTrayClient(after, "add 8 After callbacks 1 60000");
    ASSERT_TRUE(WaitUntil([&] { return ChildWindows(panel).size() == 2; }, 20000));
    for (HWND icon : ChildWindows(panel))
        PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(first.wait(30000), std::optional<DWORD>(0));
    EXPECT_EQ(second.wait(30000), std::optional<DWORD>(0));
    EXPECT_NE(ReadFileText(before).find("callback 7 513"), std::string::npos)
        << ReadFileText(before);
    EXPECT_NE(ReadFileText(after).find("callback 8 513"), std::string::npos) << ReadFileText(after);

    // Leaving, the shell gives Wine's taskbar back.
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
    EXPECT_TRUE(WaitUntil([] { return ShownExplorerTrays(0) > 0; }, 10000));
    EXPECT_TRUE(IsProcessRunning("explorer.exe"));
}
