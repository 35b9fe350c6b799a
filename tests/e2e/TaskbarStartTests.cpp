// The taskbar's start as the user meets it: the question after a crashed run,
// the caption colours, the work area, maximised windows, the skin, the bar's
// place and shape.
#include "tests/e2e/ShellHarness.h"

#include "base/Config.h"

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kQuestion[] =
    "Perhaps program has not finished correctly last time.\r\nDo restore standart shell?";

// A log of a run that crashed during its start.
void WriteCrashedLog(const ShellInstall& install) {
    WriteFileText(install.LogPath(), "   *** Orvane Shell log - 1/1/2026 ***\r\n\r\n"
                                     "9:00:00 AM Program start\r\n");
}

std::string IniValue(const ShellInstall& install, const char* section, const char* key) {
    return orvane::IniFile(install.IniPath()).ReadString(section, key, "<none>");
}

HWND WaitForMessageBox(const ChildProcess& shell, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(shell.id(), "Warning")) != nullptr; }, timeoutMs);
    return box;
}

void Answer(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// Caption colours the shell will find at its start.
void SetStartingCaptionColours() {
    const INT elements[] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION};
    const COLORREF colours[] = {RGB(10, 20, 30), RGB(40, 50, 60)};
    SetSysColors(2, elements, colours);
    SetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "ActiveTitle", "10 20 30");
    SetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "GradientActiveTitle", "40 50 60");
}

} // namespace

TEST(TaskbarStart, CrashedLastRunAnsweredOkRestoresExplorerAndEnds) {
    EnsureExplorerEnded();
    ShellInstall install;
    WriteCrashedLog(install);
    ChildProcess shell = install.Start();
    HWND box = WaitForMessageBox(shell, 20000);
    ASSERT_NE(box, nullptr) << "no question after a crashed run";
    EXPECT_EQ(MessageBoxText(box), kQuestion);
    Answer(box, IDOK);

    const std::optional<DWORD> exitCode = shell.wait(15000);
    ASSERT_TRUE(exitCode.has_value()) << "the shell must end";
    EXPECT_EQ(*exitCode, 0u) << "giving the session back is no failure";
    std::vector<std::string> log = SplitLines(ReadFileText(install.LogPath()));
    EXPECT_TRUE(HasLineEndingWith(log, " Program start"));
    EXPECT_TRUE(HasLineEndingWith(log, " Work end"));
    EXPECT_FALSE(HasLineEndingWith(log, " Run on Windows start"));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kWinlogon, "Shell"), "explorer.exe");
    EXPECT_TRUE(WaitUntil([] { return IsProcessRunning("explorer.exe"); }, 10000))
        << "explorer.exe must be started again";
}

TEST(TaskbarStart, CrashedLastRunAnsweredCancelStartsNormally) {
    EnsureExplorerEnded();
    ShellInstall install;
    WriteCrashedLog(install);
    ChildProcess process = install.Start();
    HWND box = WaitForMessageBox(process, 20000);
    ASSERT_NE(box, nullptr);
    Answer(box, IDCANCEL);
    StartedShell shell;
    shell.process = std::move(process);
    shell.main = WaitForWindow(shell.process.id(), "TfrmTaskbar", 20000);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return ReadFileText(install.LogPath()).find("WMDisplayChange") != std::string::npos;
        },
        20000));
    shell.log = SplitLines(ReadFileText(install.LogPath()));
    EXPECT_TRUE(HasLineEndingWith(shell.log, " Run on Windows start"));
    EXPECT_FALSE(HasLineEndingWith(shell.log, " Work end"));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kWinlogon, "Shell"), install.ExePath());
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(TaskbarStart, UnderExplorerNoQuestionAndTheCaptionsTakeTheShellsColours) {
    SetStartingCaptionColours();
    ChildProcess helper;
    EnsureExplorerRunning(helper);
    ShellInstall install;
    WriteCrashedLog(install);
    StartedShell shell = StartShell(install);
    EXPECT_EQ(FindMessageBox(shell.process.id(), "Warning"), nullptr);
    EXPECT_TRUE(HasLineEndingWith(shell.log, " Run under explorer"));

    EXPECT_EQ(IniValue(install, "WinSettings", "ActiveTitle"), std::to_string(RGB(10, 20, 30)));
    EXPECT_EQ(IniValue(install, "WinSettings", "GradientActiveTitle"),
              std::to_string(RGB(40, 50, 60)));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "ActiveTitle"),
              "160 204 11");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "GradientActiveTitle"),
              "143 159 51");
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(TaskbarStart, AtLogonCaptionsStayAndMaximisedWindowsFitAboveTheBar) {
    EnsureExplorerEnded();
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    ChildProcess program = StartWindowHelper("Maximised program");
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (window = FindWindowA(nullptr, "Maximised program")) != nullptr; }, 10000));
    ShowWindow(window, SW_SHOWMAXIMIZED);
    // Showing another program's window maximised completes in its own thread.
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(window) != FALSE; }, 5000));
    SetStartingCaptionColours();
    ShellInstall install;
    StartedShell shell = StartShell(install);
    EXPECT_EQ(FindMessageBox(shell.process.id(), "Warning"), nullptr);
    EXPECT_TRUE(HasLineEndingWith(shell.log, " Run on Windows start"));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "ActiveTitle"), "10 20 30");
    EXPECT_EQ(IniValue(install, "WinSettings", "ActiveTitle"), "<none>");
    // The work area the shell found is kept for the way back.
    EXPECT_EQ(IniValue(install, "WinSettings", "ScreenRight"), std::to_string(width));
    EXPECT_EQ(IniValue(install, "WinSettings", "ScreenBottom"), std::to_string(height));

    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, width);
    EXPECT_EQ(rect.bottom, height - 25);
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(TaskbarStart, BarSitsAtTheBottomWithRaisedTabsAndComesBackOnDisplayChange) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    auto expectAtBottom = [&] {
        RECT rect{};
        GetWindowRect(shell.main, &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, height - 30);
        EXPECT_EQ(rect.right, width);
        EXPECT_EQ(rect.bottom, height);
    };
    expectAtBottom();

    // The middle of the bar is lowered by the empty strip (6) plus one pixel;
    // the tabs over the start button (86) and the clock reach the top.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(shell.main, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 40, 1));
    EXPECT_TRUE(PtInRegion(region, width - 40, 1));
    EXPECT_FALSE(PtInRegion(region, width / 2, 3));
    EXPECT_TRUE(PtInRegion(region, width / 2, 8));
    EXPECT_FALSE(PtInRegion(region, 86 + 29, 5)); // the sloping shoulder
    DeleteObject(region);

    SetWindowPos(shell.main, nullptr, 100, 50, 300, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(shell.main, WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
    expectAtBottom();
    std::string log = ReadFileText(install.LogPath());
    EXPECT_NE(log.find("WMDisplayChange"), log.rfind("WMDisplayChange"));
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(TaskbarStart, MissingSkinFileIsReportedLoggedAndEndsTheShell) {
    ShellInstall install;
    ASSERT_TRUE(DeleteFileA((install.Folder() + "\\Skins\\Orvane.skn").c_str()));
    ChildProcess shell = install.Start();
    HWND box = WaitForMessageBox(shell, 20000);
    ASSERT_NE(box, nullptr);
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find("Cannot find skin file"), std::string::npos) << text;
    Answer(box, IDOK);
    const std::optional<DWORD> exitCode = shell.wait(15000);
    ASSERT_TRUE(exitCode.has_value()) << "the shell must end without its skin";
    EXPECT_EQ(*exitCode, 1u) << "a start without its skin failed";
    EXPECT_NE(ReadFileText(install.LogPath()).find("Erron on load application. Cannot find skin"),
              std::string::npos);
}
