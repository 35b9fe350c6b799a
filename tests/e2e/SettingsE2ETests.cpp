// The about box and the settings dialog in the real shell: made at the start,
// hidden, and translated with the other windows into the stored language.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>

using namespace orvane::test;

namespace {

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

TEST(SettingsStart, TheAboutBoxAndTheSettingsDialogWaitHiddenInTheStoredLanguage) {
    ShellInstall install;
    WritePrivateProfileStringA("General", "Language", "Deutsch", install.IniPath().c_str());
    StartedShell shell = StartShell(install);
    HWND settings = WaitForWindow(shell.process.id(), "TfrmSettings", 15000);
    HWND about = WaitForWindow(shell.process.id(), "TfrmAbout", 15000);
    ASSERT_NE(settings, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_FALSE(IsWindowVisible(about));
    // The windows are translated once all five exist.
    EXPECT_TRUE(WaitUntil([&] { return TextOf(settings) == "Einstellungen"; }, 10000))
        << TextOf(settings);
    EXPECT_EQ(TextOf(about), "Info...");
    HWND cancel = FindControl(settings, "btnCancel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(TextOf(cancel), "Abbrechen");
    EXPECT_NE(FindControl(about, "Image1"), nullptr);
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}
