// The Files section of the real shell: two clicks on a drive give two
// browser windows, each with a task button of its own; closing one hands it
// to the taskbar, which destroys it, and its button goes.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane::test;

namespace {

// Wine hands another process's list box text over as UTF-16, also to
// LB_GETTEXT through SendMessageA: it is asked for in UTF-16.
std::string ItemText(HWND list, int index) {
    wchar_t text[256] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) >= 256)
        return {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    char narrow[512] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

int DriveEntry(HWND list, const std::string& text) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (ItemText(list, i) == text)
            return i;
    return -1;
}

void ClickEntry(HWND list, int index) {
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 30, (item.top + item.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
}

int ButtonsCaptioned(HWND taskbar, const std::string& caption) {
    auto buttons = TaskButtonsOf(taskbar);
    return static_cast<int>(
        std::count_if(buttons.begin(), buttons.end(),
                      [&](const TaskButtonView& b) { return b.caption == caption; }));
}

} // namespace

TEST(FilesE2E, TwoDriveClicksGiveTwoBrowsersWithTaskButtonsOfTheirOwn) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    ASSERT_NE(shell.main, nullptr);
    HWND panel = WaitForWindow(shell.process.id(), "TfrmStart", 20000);
    ASSERT_NE(panel, nullptr);
    // The panel makes and fills its sections once its window exists.
    HWND list = nullptr;
    int drive = -1;
    ASSERT_TRUE(WaitUntil(
        [&] {
            list = FindControl(panel, "lbFiles");
            return list && (drive = DriveEntry(list, "c: []")) >= 0;
        },
        20000));

    auto browsers = [&] { return WindowsOfProcess(shell.process.id(), "TfrmFiles"); };
    ClickEntry(list, drive);
    ASSERT_TRUE(WaitUntil([&] { return browsers().size() == 1; }, 20000));
    ClickEntry(list, drive);
    ASSERT_TRUE(WaitUntil([&] { return browsers().size() == 2; }, 20000));
    auto title = [](HWND window) {
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        return std::string(text);
    };
    // The caption comes with the listing, right after the window is shown.
    EXPECT_TRUE(WaitUntil(
        [&] {
            auto shown = browsers();
            return std::all_of(shown.begin(), shown.end(),
                               [&](HWND browser) { return title(browser) == "c:\\"; });
        },
        20000));
    for (HWND browser : browsers()) {
        EXPECT_TRUE(GetWindowLongA(browser, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_NE(GetWindow(browser, GW_OWNER), nullptr) << "owned, yet on the taskbar";
    }
    EXPECT_TRUE(WaitUntil([&] { return ButtonsCaptioned(shell.main, "c:\\") == 2; }, 20000))
        << ButtonsCaptioned(shell.main, "c:\\") << " task buttons for c:\\";

    HWND closed = browsers().front();
    PostMessageA(closed, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(closed); }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return ButtonsCaptioned(shell.main, "c:\\") == 1; }, 20000));
    EXPECT_EQ(browsers().size(), 1u);
    CloseShell(shell.process, shell.main);
}
