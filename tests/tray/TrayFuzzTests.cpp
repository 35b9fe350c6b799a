// Random blocks from "other programs": the tray answers each, stays consistent
// and keeps its handles. The full 100,000-block run is bench/tray's tray_fuzz.
#include "tests/tray/TrayFixture.h"
#include "tests/tray/TrayFuzz.h"

using namespace orvane;
using namespace traytest;

namespace {

constexpr int kRequests = 12000;

TEST_F(TrayTest, RandomBlocksLeaveTheTrayConsistentAndLeakNothing) {
    std::vector<HWND> valid;
    for (int i = 0; i < 6; ++i)
        valid.push_back(NewOwner());
    // A first round fills the caches of the toolkit and the system.
    FuzzResult warmUp = RunFuzz(*tray, *form->plSysTray, valid, 2000, 1, 50);
    ASSERT_EQ(warmUp.fault, "");
    RemoveAllIcons(*tray);
    ResourceUse before = CurrentResourceUse();

    FuzzResult result = RunFuzz(*tray, *form->plSysTray, valid, kRequests, 2, 50);
    EXPECT_EQ(result.fault, "");
    EXPECT_GT(result.accepted, kRequests / 20); // the blocks did reach the icon list
    EXPECT_GT(result.mostIcons, 10);
    RemoveAllIcons(*tray);
    ASSERT_EQ(tray->IconCount(), 0);
    EXPECT_EQ(CheckConsistency(*tray, *form->plSysTray), "");
    ResourceUse after = CurrentResourceUse();
    // With the list empty again everything the requests made is gone.
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_LE(after.privateBytes, before.privateBytes + 8u * 1024 * 1024);
    EXPECT_TRUE(CanStillMakeObjects(2000));
    std::printf("tray fuzz: %d requests, %d accepted, at most %d icons; private bytes %zu -> %zu\n",
                result.requests, result.accepted, result.mostIcons, before.privateBytes,
                after.privateBytes);
}

} // namespace
