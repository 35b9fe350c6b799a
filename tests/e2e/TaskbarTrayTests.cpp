// A program's notify icon in the running shell: it appears in the
// notification panel with its tip in any script, a press on it reaches the
// program, and it goes again.
#include "tests/e2e/ShellHarness.h"

#include "base/Win32Handles.h"

#include <gtest/gtest.h>
#include <shellapi.h>

using namespace orvane::test;

namespace {

int WidthOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

} // namespace

TEST(TaskbarTray, ProgramsIconComesIsPressedAndGoes) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    HWND panel = FindControl(shell.main, "plSysTray");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(WidthOf(panel), 18);

    // Through the platform's own notify-icon call, as any program would.
    ScratchDir dir("trayclient");
    const std::string out = dir / "client.txt";
    ChildProcess client =
        ChildProcess::Start("\"" + BinDir() + "\\tray_client.exe\" --out \"" + out +
                            "\" --wine add 7 Hello callbacks 1 15000 " + "delete 7");
    ASSERT_TRUE(WaitUntil([&] { return ChildWindows(panel).size() == 1; }, 10000));
    // The icon control and the panel's new width come in one layout step, but
    // another process may look in between the two.
    EXPECT_TRUE(WaitUntil([&] { return WidthOf(panel) == 34; }, 5000)) << WidthOf(panel);
    HWND icon = ChildWindows(panel).front();
    RECT iconRect{}, panelRect{};
    GetWindowRect(icon, &iconRect);
    GetWindowRect(panel, &panelRect);
    EXPECT_EQ(iconRect.left - panelRect.left, 9);
    EXPECT_EQ(iconRect.top - panelRect.top, 3);

    PostMessageA(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(client.wait(20000), std::optional<DWORD>(0));
    std::string lines = ReadFileText(out);
    EXPECT_NE(lines.find("callback 7 513"), std::string::npos) << lines;
    EXPECT_TRUE(WaitUntil([&] { return ChildWindows(panel).empty(); }, 5000));
    EXPECT_EQ(WidthOf(panel), 14);
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}

TEST(TaskbarTray, TipInAnyScriptReadsBackAsSent) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    HWND panel = FindControl(shell.main, "plSysTray");
    ASSERT_NE(panel, nullptr);

    // This test is the other program: a hidden owner window and the platform's call.
    orvane::UniqueWindow owner(CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                               GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner.valid());
    const wchar_t tip[] = L"Ωmega Привет 日本 ✓";
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner.get();
    data.uID = 3;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = WM_APP + 3;
    data.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
    lstrcpynW(data.szTip, tip, static_cast<int>(std::size(data.szTip)));
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    ASSERT_TRUE(WaitUntil([&] { return ChildWindows(panel).size() == 1; }, 10000));
    EXPECT_EQ(ControlText(ChildWindows(panel).front()), "Ωmega Привет 日本 ✓");

    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_TRUE(WaitUntil([&] { return ChildWindows(panel).empty(); }, 5000));
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}
