// The desktop window itself: full screen, beneath every other window, and
// closed only into hiding, from which the taskbar's clock brings it back.
#include "taskbar/TaskbarForm.h"
#include "tests/desktop/DesktopTestSupport.h"
#include "tests/support/TestApp.h"
#include "toolkit/Timer.h"
#include "widgets/PaintBox.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// True when `lower` comes after `upper` in the top-level Z order.
bool IsBelow(HWND lower, HWND upper) {
    for (HWND window = GetWindow(upper, GW_HWNDNEXT); window;
         window = GetWindow(window, GW_HWNDNEXT))
        if (window == lower)
            return true;
    return false;
}

HWND PlainWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DesktopTestsWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "over the desktop", WS_POPUP | WS_VISIBLE, 100, 100,
                           200, 150, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace

TEST(DesktopWindow, CoversTheScreenWithItsCalendarInTheCorner) {
    DesktopFixture fixture;
    TfrmDesktop& desktop = fixture.Create();
    EXPECT_FALSE(desktop.Visible()) << "shown by the clock's tick";
    EXPECT_EQ(desktop.Width(), GetSystemMetrics(SM_CXSCREEN));
    // One row short of the screen, under the bar: not a full-screen window,
    // which Wine would confine the pointer to.
    EXPECT_EQ(desktop.Height(), GetSystemMetrics(SM_CYSCREEN) - 1);
    EXPECT_EQ(desktop.Caption(), "Orvane Shell");
    EXPECT_EQ(desktop.pbCalendar->Width(), 169);
    EXPECT_EQ(desktop.pbCalendar->Top(), GetSystemMetrics(SM_CYSCREEN) - 168);
    EXPECT_EQ(desktop.pbCalendar->Left(), desktop.Width() - 200);
    EXPECT_EQ(desktop.imgDesktop->Width(), desktop.Width());
    EXPECT_EQ(GetWindow(desktop.pbCalendar->Handle(), GW_HWNDNEXT), desktop.imgDesktop->Handle())
        << "the calendar lies over the wallpaper";
}

TEST(DesktopWindow, ActivationDoesNotRaiseIt) {
    DesktopFixture fixture;
    TfrmDesktop& desktop = fixture.Create();
    desktop.Show();
    HWND other = PlainWindow();
    ASSERT_TRUE(other);
    // Every change of place is turned into one to the bottom.
    WINDOWPOS change{desktop.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE};
    SendMessageA(desktop.Handle(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(change.hwndInsertAfter, HWND_BOTTOM);
    SetWindowPos(desktop.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BringWindowToTop(other);
    EXPECT_TRUE(IsBelow(desktop.Handle(), other));
    // Activated, the desktop takes the input focus and does not come up.
    SetActiveWindow(desktop.Handle());
    EXPECT_EQ(GetActiveWindow(), desktop.Handle());
    EXPECT_TRUE(IsBelow(desktop.Handle(), other));
    EXPECT_EQ(GetWindow(desktop.Handle(), GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongA(desktop.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        << "no task button for the desktop";
    DestroyWindow(other);
}

TEST(DesktopWindow, ClosingHidesItAndTheClockTickShowsItAgain) {
    DesktopFixture fixture;
    TfrmDesktop& desktop = fixture.Create();
    TTaskbarHost host;
    host.Desktop = [&]() -> TForm* { return &desktop; };
    auto* taskbar = CreateForm<TfrmTaskbar>(&App(), std::move(host));
    desktop.Show();
    SendMessageA(desktop.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(desktop.Visible());
    EXPECT_TRUE(IsWindow(desktop.Handle())) << "closing only hides";
    // One tick of the 500 ms clock brings it back.
    EXPECT_EQ(taskbar->tmrClock->Interval(), 500u);
    taskbar->tmrClockTimer();
    EXPECT_TRUE(desktop.Visible());
    EXPECT_TRUE(IsWindowVisible(desktop.Handle()));
    App().FreeComponent(taskbar);
}
