// The bars' arithmetic against monitor lists handed in: docking, stacking,
// the work area per monitor, auto-hide bars, and telling a full-screen
// window.
#include "appbar/AppBarLayout.h"
#include "appbar/FullScreen.h"
#include "desktop/DesktopForm.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

const std::vector<TMonitor> kOne = {{{0, 0, 1024, 768}, true}};
// The primary on the right, a second monitor to its left.
const std::vector<TMonitor> kTwo = {{{-800, 0, 0, 600}, false}, {{0, 0, 1024, 768}, true}};

HWND Bar(int n) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(0x100 + n));
}

::testing::AssertionResult Same(const RECT& actual, const RECT& expected) {
    if (EqualRect(&actual, &expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
           << " instead of " << expected.left << "," << expected.top << "," << expected.right << ","
           << expected.bottom;
}

} // namespace

TEST(AppBarLayout, BarsOnOneEdgeStackAndGiveTheirRoomBack) {
    TAppBarLayout layout;
    ASSERT_TRUE(layout.Add(Bar(0), 0));
    ASSERT_TRUE(layout.SetPos(Bar(0), kEdgeBottom, {0, 742, 1024, 768}, kOne));
    ASSERT_TRUE(layout.Add(Bar(1), WM_APP));
    EXPECT_FALSE(layout.Add(Bar(1), WM_APP));
    ASSERT_TRUE(layout.Add(Bar(2), WM_APP));

    // Asked anywhere, a top bar docks at the top and keeps its thickness.
    EXPECT_TRUE(
        Same(*layout.SetPos(Bar(1), kEdgeTop, {0, 100, 1024, 140}, kOne), {0, 0, 1024, 40}));
    EXPECT_TRUE(Same(layout.WorkArea(0, kOne), {0, 40, 1024, 742}));
    // The second top bar lies inside the first; a bottom query over the
    // shell's bar sits on it.
    EXPECT_TRUE(Same(*layout.SetPos(Bar(2), kEdgeTop, {0, 0, 1024, 30}, kOne), {0, 40, 1024, 70}));
    EXPECT_TRUE(Same(layout.WorkArea(0, kOne), {0, 70, 1024, 742}));
    EXPECT_TRUE(Same(*layout.QueryPos(Bar(3), kEdgeBottom, {0, 700, 1024, 768}, kOne),
                     {0, 674, 1024, 742}));
    // The first bar re-asks: it is still the outer one.
    EXPECT_TRUE(Same(*layout.QueryPos(Bar(1), kEdgeTop, {0, 0, 1024, 40}, kOne), {0, 0, 1024, 40}));

    EXPECT_TRUE(layout.Remove(Bar(1)));
    EXPECT_FALSE(layout.Remove(Bar(1)));
    // The bar that was inside keeps its room until it asks again (it is told
    // to), and then docks at the top itself.
    EXPECT_TRUE(Same(layout.WorkArea(0, kOne), {0, 70, 1024, 742}));
    EXPECT_TRUE(Same(*layout.SetPos(Bar(2), kEdgeTop, {0, 40, 1024, 70}, kOne), {0, 0, 1024, 30}));
    EXPECT_TRUE(Same(layout.WorkArea(0, kOne), {0, 30, 1024, 742}));
    EXPECT_EQ(layout.RemoveDead([](HWND window) { return window != Bar(2); }),
              std::vector<HWND>{Bar(2)});
    EXPECT_TRUE(Same(layout.WorkArea(0, kOne), {0, 0, 1024, 742}));
}

TEST(AppBarLayout, SideBarsAndRequestsOutOfRange) {
    TAppBarLayout layout;
    layout.Add(Bar(1), WM_APP);
    layout.Add(Bar(2), WM_APP);
    EXPECT_FALSE(layout.SetPos(Bar(9), kEdgeLeft, {0, 0, 50, 768}, kOne)) << "no bar";
    EXPECT_FALSE(layout.QueryPos(Bar(1), 4, {0, 0, 50, 768}, kOne)) << "no edge";
    EXPECT_FALSE(layout.QueryPos(Bar(1), kEdgeLeft, {0, 0, 50, 768}, {})) << "no monitor";
    EXPECT_TRUE(
        Same(*layout.SetPos(Bar(1), kEdgeRight, {900, 0, 960, 768}, kOne), {964, 0, 1024, 768}));
    // A top bar wider than the room left is cut at the right bar.
    EXPECT_TRUE(
        Same(*layout.SetPos(Bar(2), kEdgeTop, {-50, -20, 2000, 10}, kOne), {0, 0, 964, 30}));
    EXPECT_TRUE(Same(layout.WorkArea(0, kOne), {0, 30, 964, 768}));
    // A thickness beyond the monitor or below zero is cut to fit.
    EXPECT_TRUE(
        Same(*layout.QueryPos(Bar(3), kEdgeLeft, {0, 0, 5000, 768}, kOne), {0, 30, 964, 768}));
    EXPECT_TRUE(
        Same(*layout.QueryPos(Bar(3), kEdgeBottom, {0, 768, 1024, 700}, kOne), {0, 768, 964, 768}));
}

TEST(AppBarLayout, TwoMonitorsEachKeepTheirOwnWorkArea) {
    EXPECT_EQ(PrimaryMonitor(kTwo), 1);
    EXPECT_EQ(MonitorOf({-700, 0, -600, 30}, kTwo), 0);
    EXPECT_EQ(MonitorOf({-10, 0, 300, 30}, kTwo), 1);
    EXPECT_EQ(MonitorOf({5000, 0, 5100, 30}, kTwo), 1) << "off every monitor: the primary";

    TAppBarLayout layout;
    layout.Add(Bar(0), 0);
    layout.SetPos(Bar(0), kEdgeBottom, {0, 742, 1024, 768}, kTwo);
    layout.Add(Bar(1), WM_APP);
    // A top bar on the second monitor takes room there only.
    EXPECT_TRUE(Same(*layout.SetPos(Bar(1), kEdgeTop, {-800, 0, 0, 25}, kTwo), {-800, 0, 0, 25}));
    EXPECT_TRUE(Same(layout.WorkArea(0, kTwo), {-800, 25, 0, 600}));
    EXPECT_TRUE(Same(layout.WorkArea(1, kTwo), {0, 0, 1024, 742}));
    EXPECT_TRUE(Same(layout.WorkArea(2, kTwo), {0, 0, 0, 0}));
}

TEST(AppBarLayout, TheDesktopCoversEveryMonitorAndItsCalendarStaysOnThePrimary) {
    EXPECT_TRUE(Same(VirtualScreen(kTwo), {-800, 0, 1024, 768}));
    EXPECT_TRUE(Same(PrimaryBounds(kTwo), {0, 0, 1024, 768}));
    EXPECT_TRUE(Same(DesktopBounds(kTwo), {-800, 0, 1024, 767}));
    const POINT calendar = CalendarPlace(kTwo);
    EXPECT_EQ(calendar.x, 1024 - 200 + 800) << "in the desktop's own coordinates";
    EXPECT_EQ(calendar.y, 768 - 161 - 7);
    // A second monitor right of the primary.
    const std::vector<TMonitor> right = {{{0, 0, 1024, 768}, true}, {{1024, 0, 1824, 600}, false}};
    EXPECT_TRUE(Same(DesktopBounds(right), {0, 0, 1824, 767}));
    EXPECT_EQ(CalendarPlace(right).x, 824);
    // One monitor: the place it always had.
    EXPECT_TRUE(Same(DesktopBounds(kOne), {0, 0, 1024, 767}));
    EXPECT_EQ(CalendarPlace(kOne).x, 824);
}

TEST(AppBarLayout, OneAutoHideBarPerEdge) {
    TAppBarLayout layout;
    layout.Add(Bar(1), WM_APP);
    layout.Add(Bar(2), WM_APP);
    EXPECT_TRUE(layout.SetAutoHideBar(Bar(1), kEdgeTop, true));
    EXPECT_FALSE(layout.SetAutoHideBar(Bar(2), kEdgeTop, true));
    EXPECT_FALSE(layout.SetAutoHideBar(Bar(2), kEdgeTop, false)) << "not the holder";
    EXPECT_FALSE(layout.SetAutoHideBar(Bar(9), kEdgeLeft, true)) << "no bar";
    EXPECT_EQ(layout.AutoHideBar(kEdgeTop), Bar(1));
    EXPECT_EQ(layout.AutoHideBar(7), nullptr);
    layout.Remove(Bar(1));
    EXPECT_EQ(layout.AutoHideBar(kEdgeTop), nullptr);
    EXPECT_TRUE(layout.SetAutoHideBar(Bar(2), kEdgeTop, true));
}

TEST(FullScreenWatch, TheActiveWindowCoveringItsMonitor) {
    EXPECT_TRUE(CoversMonitor({-5, -5, 1030, 775}, {0, 0, 1024, 768}));
    EXPECT_FALSE(CoversMonitor({0, 0, 1024, 767}, {0, 0, 1024, 768}));

    TFullScreenWatch watch;
    bool changed = true;
    const HWND video = Bar(1);
    EXPECT_EQ(watch.Look({video, {0, 0, 1024, 700}, true, false}, kTwo, changed), nullptr);
    EXPECT_FALSE(changed);
    // Full screen on the second monitor counts as well.
    EXPECT_EQ(watch.Look({video, {-800, 0, 0, 600}, true, false}, kTwo, changed), video);
    EXPECT_TRUE(changed);
    EXPECT_EQ(watch.Look({video, {-800, 0, 0, 600}, true, false}, kTwo, changed), video);
    EXPECT_FALSE(changed);
    // The shell's own desktop, a hidden window: no full-screen program.
    EXPECT_EQ(watch.Look({Bar(2), {0, 0, 1024, 768}, true, true}, kTwo, changed), nullptr);
    EXPECT_TRUE(changed);
    EXPECT_EQ(watch.Look({video, {0, 0, 1024, 768}, false, false}, kTwo, changed), nullptr);
    EXPECT_FALSE(changed);
}
