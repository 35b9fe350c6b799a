// Desktop links show the own icon of their shortcut's target once the lookup
// pool has it; a shortcut whose target is gone keeps the shortcut type icon.
#include "base/Utf.h"
#include "system/ShellIcons.h"
#include "system/Shortcuts.h"
#include "tests/desktop/DesktopTestSupport.h"
#include "tests/support/PixelSurface.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

std::vector<COLORREF> Pixels(HICON icon) {
    PixelSurface surface(32, 32);
    DrawIconEx(surface.dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(surface.At(x, y));
    return pixels;
}

} // namespace

TEST(DesktopLinkIcons, ShortcutShowsItsProgramsIconAndAGoneTargetTheTypeIcon) {
    DesktopFixture fixture;
    const std::string program = EnvVar("ORVANE_STAGE") + "\\Orvane_Shell.exe";
    CreateShortcut(program, fixture.User("Shell.lnk"), "", "");
    const std::string gone = fixture.User("gone.exe");
    CopyFileW(Wide(program).c_str(), Wide(gone).c_str(), FALSE);
    CreateShortcut(gone, fixture.User("Gone.lnk"), "", "");
    ASSERT_TRUE(DeleteFileW(Wide(gone).c_str()));

    fixture.Create();
    TLink& shell = *fixture.Find("Shell");
    TLink& goneLink = *fixture.Find("Gone");
    const bool small = shell.Small;
    HICON large = nullptr, little = nullptr;
    ExtractIconExW(Wide(program).c_str(), 0, &large, &little, 1);
    UniqueIcon largeIcon(large), littleIcon(little);
    const std::vector<COLORREF> own = Pixels(small ? little : large);
    const std::vector<COLORREF> type = Pixels(GetFileIcon(fixture.User("Shell.lnk"), small).get());
    ASSERT_NE(own, type);

    EXPECT_TRUE(WaitUntil([&] { return Pixels(shell.Icon->Handle()) == own; }, 10000));
    PumpMessagesFor(300);
    EXPECT_EQ(Pixels(goneLink.Icon->Handle()), type);
}
