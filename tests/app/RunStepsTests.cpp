// The start's changes to the system, seen from inside the shell's process
// (under Wine the work area is kept per process): the work area, the caption
// colours, the hiding of minimised windows, the verdict on the last run.
#include "base/Config.h"
#include "app/RunSteps.h"
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

TEST(RunSteps, WorkAreaBecomesTheScreenLessTheBarAndTheOldOneIsKept) {
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

    // The shell's own area, left by a run that died, is not saved over the
    // user's; any other area is saved at every start.
    TakeWorkArea();
    EXPECT_EQ(config.Read("ScreenTop"), 20);
    EXPECT_EQ(config.Read("ScreenBottom"), height - 40);
    RECT other{0, 0, width, height - 60};
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &other, 0));
    TakeWorkArea();
    EXPECT_EQ(config.Read("ScreenTop"), 0);
    EXPECT_EQ(config.Read("ScreenBottom"), height - 60);
}

TEST(RunSteps, CaptionColoursAreSavedThenReplaced) {
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

TEST(RunSteps, TheWayBackRestoresOnlySavedCaptionColoursAndTheSavedWorkArea) {
    ConfigFileGuard config;
    const INT elements[] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION};
    const COLORREF running[] = {RGB(160, 204, 11), RGB(143, 159, 51)};
    const char kColors[] = "Control Panel\\Colors";
    ASSERT_TRUE(SetSysColors(2, elements, running));
    SetRegString(HKEY_CURRENT_USER, kColors, "ActiveTitle", "1 1 1");
    SetRegString(HKEY_CURRENT_USER, kColors, "GradientActiveTitle", "2 2 2");

    // Nothing saved (a run started at logon): the colours stay.
    RestoreCaptionColors();
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), RGB(160, 204, 11));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kColors, "ActiveTitle"), "1 1 1");

    IniFile::Config().WriteInteger("WinSettings", "ActiveTitle", 773280);
    IniFile::Config().WriteString("WinSettings", "GradientActiveTitle", "$00302010");
    RestoreCaptionColors();
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), 773280u);
    EXPECT_EQ(GetSysColor(COLOR_GRADIENTACTIVECAPTION), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kColors, "ActiveTitle"), "160 204 11");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kColors, "GradientActiveTitle"), "16 32 48");

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    TakeWorkArea();
    const IniFile ini = IniFile::Config();
    ini.WriteInteger("WinSettings", "ScreenLeft", 5);
    ini.WriteInteger("WinSettings", "ScreenTop", 40);
    ini.WriteInteger("WinSettings", "ScreenRight", width - 5);
    ini.WriteInteger("WinSettings", "ScreenBottom", height - 3);
    RestoreWorkArea();
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(area.left, 5);
    EXPECT_EQ(area.top, 40);
    EXPECT_EQ(area.right, width - 5);
    EXPECT_EQ(area.bottom, height - 3);
    ini.EraseSection("WinSettings");
    RestoreWorkArea();
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, width) << "the whole screen when nothing was saved";
    EXPECT_EQ(area.bottom, height);
}

TEST(RunSteps, MinimisedWindowsAreHidden) {
    MINIMIZEDMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0));
    metrics.iArrange = ARW_BOTTOMLEFT | ARW_RIGHT;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0));

    HideMinimizedWindows();
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(metrics.iArrange, ARW_BOTTOMLEFT | ARW_RIGHT | ARW_HIDE);
}

TEST(RunSteps, LastRunIsUncleanOnlyWhenItsLogShowsNeitherEndNorStartPanel) {
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
