// The window watcher that stands in for the shell hook's events under Wine.
#include "taskbar/TaskButtons.h"
#include "taskbar/WindowEventWatcher.h"
#include "tests/taskbar/TaskbarTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace orvane;

namespace {

HWND NewOwnedWindow(HWND owner, DWORD exStyle, const char* title) {
    return CreateWindowExA(exStyle, "STATIC", title, WS_POPUP | WS_CAPTION, 60, 60, 120, 80, owner,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Visible to IsWindowVisible without being mapped, so destroying it is quick.
void MarkVisible(HWND window) {
    SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_VISIBLE);
}

} // namespace

TEST(WindowEventWatcher, AnOwnedWindowAskingForAButtonIsReportedWhenShown) {
    HWND owner = taskbartest::PoolWindow(7, "Watcher owner");
    HWND appWindow = NewOwnedWindow(owner, WS_EX_APPWINDOW, "Owned application window");
    HWND dialog = NewOwnedWindow(owner, 0, "Owned dialog");
    ASSERT_TRUE(appWindow && dialog);

    std::vector<std::pair<HWND, LPARAM>> events;
    TWindowEventWatcher watcher(
        [&](HWND window, LPARAM code) { events.emplace_back(window, code); },
        [] { return std::vector<HWND>{}; });
    MarkVisible(appWindow);
    MarkVisible(dialog);
    watcher.Tick();

    auto reported = [&](HWND window) {
        return std::find(events.begin(), events.end(),
                         std::pair<HWND, LPARAM>{window, kWindowCreated}) != events.end();
    };
    EXPECT_TRUE(reported(appWindow));
    EXPECT_FALSE(reported(dialog));
    DestroyWindow(appWindow);
    DestroyWindow(dialog);
}

TEST(WindowEventWatcher, AButtonWhoseWindowIsGoneIsReportedDestroyed) {
    HWND gone = NewOwnedWindow(nullptr, 0, "Gone without an event");
    HWND hidden = NewOwnedWindow(nullptr, 0, "Hidden, never shown");
    ASSERT_TRUE(gone && hidden);
    MarkVisible(gone);
    std::vector<std::pair<HWND, LPARAM>> events;
    TWindowEventWatcher watcher(
        [&](HWND window, LPARAM code) { events.emplace_back(window, code); },
        [&] {
            return std::vector<HWND>{gone, hidden};
        });
    DestroyWindow(gone);
    watcher.Tick();
    auto destroyed = [&](HWND window) {
        return std::count(events.begin(), events.end(),
                          std::pair<HWND, LPARAM>{window, kWindowDestroyed});
    };
    EXPECT_EQ(destroyed(gone), 1);
    // A window that exists keeps its button while it was never seen shown.
    EXPECT_EQ(destroyed(hidden), 0);
    DestroyWindow(hidden);
}
