// The real shell's desktop: shown beneath the taskbar with the shipped
// wallpaper seeded into a bitmap, following the user's desktop folder, and
// saving the links' places when the shell closes.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>
#include <shlobj.h>

using namespace orvane::test;

namespace {

// The caption control of a desktop link, found by its text.
HWND FindLinkCaption(HWND desktop, const std::string& caption) {
    struct Search {
        std::string caption;
        HWND found = nullptr;
    } search{caption};
    EnumChildWindows(
        desktop,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char cls[32] = {}, text[256] = {};
            GetClassNameA(window, cls, sizeof cls);
            GetWindowTextA(window, text, sizeof text);
            if (std::string(cls) == "TLink" && s->caption == text) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TEST(DesktopE2E, ShownBeneathTheBarFollowingTheDesktopFolder) {
    char folder[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder)));
    const std::string entry = std::string(folder) + "\\Orvane e2e.txt";
    DeleteFileA(entry.c_str());

    ShellInstall install;
    ASSERT_TRUE(FileExists(install.Folder() + "\\wallpaper\\wallpaper.jpg"));
    StartedShell shell = StartShell(install);
    HWND desktop = WaitForWindow(shell.process.id(), "TfrmDesktop", 10000);
    ASSERT_NE(desktop, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(desktop) != FALSE; }, 5000));
    EXPECT_TRUE(FileExists(install.Folder() + "\\wallpaper\\wallpaper.bmp"));
    // The bar lies above the desktop.
    bool below = false;
    for (HWND w = GetWindow(shell.main, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        below = below || w == desktop;
    EXPECT_TRUE(below);

    WriteFileText(entry, "made by the desktop test");
    HWND caption = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] { return (caption = FindLinkCaption(desktop, "Orvane e2e.txt")) != nullptr; }, 15000));
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
    EXPECT_NE(ReadFileText(install.IniPath()).find("Orvane e2e.txt="), std::string::npos)
        << "the links' places are saved when the shell closes";
    DeleteFileA(entry.c_str());
}
