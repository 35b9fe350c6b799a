// The start's changes to the system, seen from inside the shell's process
// (under Wine the work area is kept per process): the work area, the caption
// colours, the hiding of minimised windows, the verdict on the last run.
#include "base/Config.h"
#include "taskbar/TaskbarStart.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// The configuration file of this executable, removed afterwards.
class ConfigFileGuard {
  public:
    ConfigFileGuard() { DeleteFileA(ConfigFilePath().c_str()); }
    ~ConfigFileGuard() { DeleteFileA(ConfigFilePath().c_str()); }
    int32_t Read(const char* key) const {
        return IniFile::Config().ReadInteger("WinSettings", key, -12345);
    }
};

} // namespace

TEST(TaskbarSteps, WorkAreaBecomesTheScreenLessTheBarAndTheOldOneIsKept) {
    ConfigFileGuard config;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT before{10, 20, width - 30, height - 40};
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &before, 0));

    TakeWorkArea();
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, width);
    EXPECT_EQ(area.bottom, height - 26);
    EXPECT_EQ(config.Read("ScreenLeft"), 10);
    EXPECT_EQ(config.Read("ScreenTop"), 20);
    EXPECT_EQ(config.Read("ScreenRight"), width - 30);
    EXPECT_EQ(config.Read("ScreenBottom"), height - 40);

    // Every start overwrites the saved rectangle with what it finds.
    TakeWorkArea();
    EXPECT_EQ(config.Read("ScreenLeft"), 0);
    EXPECT_EQ(config.Read("ScreenBottom"), height - 26);
}

TEST(TaskbarSteps, CaptionColoursAreSavedThenReplaced) {
    ConfigFileGuard config;
    const INT elements[] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION};
    const COLORREF previous[] = {RGB(1, 2, 3), RGB(4, 5, 6)};
    ASSERT_TRUE(SetSysColors(2, elements, previous));

    RecolorCaptions();
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), RGB(160, 204, 11));
    EXPECT_EQ(GetSysColor(COLOR_GRADIENTACTIVECAPTION), RGB(143, 159, 51));
    EXPECT_EQ(config.Read("ActiveTitle"), static_cast<int32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(config.Read("GradientActiveTitle"), static_cast<int32_t>(RGB(4, 5, 6)));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "ActiveTitle"),
              "160 204 11");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, "Control Panel\\Colors", "GradientActiveTitle"),
              "143 159 51");
}

TEST(TaskbarSteps, MinimisedWindowsAreHidden) {
    MINIMIZEDMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0));
    metrics.iArrange = ARW_BOTTOMLEFT | ARW_RIGHT;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0));

    HideMinimizedWindows();
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(metrics.iArrange, ARW_BOTTOMLEFT | ARW_RIGHT | ARW_HIDE);
}

TEST(TaskbarSteps, LastRunIsUncleanOnlyWhenItsLogShowsNeitherEndNorStartPanel) {
    ScratchDir dir("taskbarlog");
    const std::string log = dir / "shell.log";
    EXPECT_FALSE(LastRunWasUnclean(log)) << "no log, no question";
    WriteFileText(log, "9:00:00 AM Program start\r\n");
    EXPECT_TRUE(LastRunWasUnclean(log));
    WriteFileText(log, "9:00:00 AM Program start\r\n9:01:00 AM Main panel is shown first time\r\n");
    EXPECT_FALSE(LastRunWasUnclean(log));
    WriteFileText(log, "9:00:00 AM Program start\r\n9:09:00 AM Work end\r\n");
    EXPECT_FALSE(LastRunWasUnclean(log));
}
