// Task buttons follow the windows of other programs: they come when a window
// is shown, go down when it is activated, take a new title (in any script) and
// go when the window closes; pressing one minimises or restores its window.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

HWND WaitForTitle(const char* title) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA(nullptr, title)) != nullptr; }, 10000);
    return window;
}

std::vector<std::string> Captions(HWND taskbar) {
    std::vector<std::string> captions;
    for (const TaskButtonView& button : TaskButtonsOf(taskbar))
        captions.push_back(button.caption);
    return captions;
}

bool CaptionsAre(HWND taskbar, const std::vector<std::string>& expected) {
    return WaitUntil([&] { return Captions(taskbar) == expected; }, 5000);
}

void Press(const TaskButtonView& button) {
    PostMessageA(button.handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button.handle, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

} // namespace

TEST(TaskbarWindows, ButtonsFollowTheWindowsOfAnotherProgram) {
    EnsureExplorerEnded();
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    // The shell's own windows never get a button.
    EXPECT_TRUE(CaptionsAre(shell.main, {})) << ::testing::PrintToString(Captions(shell.main));

    ChildProcess alphaProgram = StartWindowHelper("Alpha window");
    HWND alpha = WaitForTitle("Alpha window");
    ASSERT_NE(alpha, nullptr);
    EXPECT_TRUE(CaptionsAre(shell.main, {"Alpha window"}));
    ChildProcess betaProgram = StartWindowHelper("Beta window");
    HWND beta = WaitForTitle("Beta window");
    ASSERT_NE(beta, nullptr);
    EXPECT_TRUE(CaptionsAre(shell.main, {"Alpha window", "Beta window"}))
        << ::testing::PrintToString(Captions(shell.main));

    SetForegroundWindow(alpha);
    EXPECT_TRUE(WaitUntil([&] { return DownCaption(shell.main) == "Alpha window"; }, 5000))
        << DownCaption(shell.main);
    SetForegroundWindow(beta);
    EXPECT_TRUE(WaitUntil([&] { return DownCaption(shell.main) == "Beta window"; }, 5000))
        << DownCaption(shell.main);

    // Read back through WM_GETTEXT in UTF-16: the caption holds every character.
    const std::string gamma = "Задача ελληνικά 日本語";
    SetWindowTextW(beta, L"Задача ελληνικά 日本語");
    EXPECT_TRUE(CaptionsAre(shell.main, {"Alpha window", gamma}))
        << ::testing::PrintToString(Captions(shell.main));

    // The active window's button minimises it; a second press restores it.
    std::vector<TaskButtonView> buttons = TaskButtonsOf(shell.main);
    ASSERT_EQ(buttons.size(), 2u);
    Press(buttons[1]);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(beta) != FALSE; }, 5000));
    Press(buttons[1]);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(beta) == FALSE; }, 5000));

    PostMessageA(alpha, WM_CLOSE, 0, 0);
    EXPECT_TRUE(CaptionsAre(shell.main, {gamma})) << ::testing::PrintToString(Captions(shell.main));

    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

namespace {

bool TopMost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Where a new bar of that edge and thickness would lie (its top or left).
int AppBarPlace(int edge, int thickness) {
    ChildProcess query =
        ChildProcess::Start("\"" + BinDir() + "\\appbar_client.exe\" " + std::to_string(edge) +
                            " " + std::to_string(thickness) + " query");
    std::optional<DWORD> code = query.wait(10000);
    return code ? static_cast<int>(*code) - 1000 : -1;
}

} // namespace

TEST(TaskbarWindows, AppBarsOfOtherProgramsStackAndAKilledOneGivesItsRoomBack) {
    EnsureExplorerEnded();
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(AppBarPlace(ABE_BOTTOM, 20), height - 26 - 20) << "above the shell's bar";
    EXPECT_EQ(AppBarPlace(ABE_TOP, 20), 0);

    ChildProcess bar = ChildProcess::Start("\"" + BinDir() + "\\appbar_client.exe\" 1 35");
    EXPECT_TRUE(WaitUntil([] { return AppBarPlace(ABE_TOP, 20) == 35; }, 10000));
    bar.terminate();
    EXPECT_TRUE(WaitUntil([] { return AppBarPlace(ABE_TOP, 20) == 0; }, 10000));
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(TaskbarWindows, AFullScreenWindowTakesTheTopFromTheBarUntilItCloses) {
    EnsureExplorerEnded();
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    EXPECT_TRUE(TopMost(shell.main));

    ChildProcess program = StartWindowHelper("Full screen window");
    HWND window = WaitForTitle("Full screen window");
    ASSERT_NE(window, nullptr);
    // As a video or a game does it: no frame, the whole screen. (A framed
    // window is kept within the screen and its frame under Wine.)
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowLongW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_FRAMECHANGED);
    SetForegroundWindow(window);
    EXPECT_TRUE(WaitUntil([&] { return !TopMost(shell.main); }, 5000));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TopMost(shell.main); }, 8000));
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}
