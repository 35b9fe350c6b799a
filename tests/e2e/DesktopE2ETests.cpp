// The real shell's desktop: shown beneath the taskbar with the shipped
// wallpaper seeded into a bitmap, following the user's desktop folder, and
// saving the links' places when the shell closes.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdint>
#include <vector>

using namespace orvane::test;

namespace {

// A sum of the screen's pixels above the calendar and the bar: the wallpaper
// and the links drawn on it.
uint64_t WallpaperSum() {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN) - 200;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    uint64_t sum = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
        sum += (pixels[i] & 0xFFFFFF) * (i % 977 + 1);
    return sum;
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

    // The picture settles (wallpaper, then the links already there), then a
    // new file in the folder adds a link to it.
    uint64_t before = WallpaperSum();
    for (int i = 0; i < 20; ++i) {
        Sleep(250);
        const uint64_t now = WallpaperSum();
        if (now == before)
            break;
        before = now;
    }
    WriteFileText(entry, "made by the desktop test");
    EXPECT_TRUE(WaitUntil([&] { return WallpaperSum() != before; }, 15000))
        << "no link drawn for the new file";
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
    EXPECT_NE(ReadFileText(install.IniPath()).find("Orvane e2e.txt="), std::string::npos)
        << "the links' places are saved when the shell closes";
    DeleteFileA(entry.c_str());
}

namespace {

void MouseClickAt(int x, int y) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void TapKey(WORD key) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

} // namespace

TEST(DesktopE2E, DeleteKeyAfterAClickOnALinkWhileAnotherProgramIsActive) {
    const std::string data = EnvVar("XDG_DATA_HOME");
    if (data.empty() || data.rfind(EnvVar("WINEPREFIX") + "/", 0) != 0)
        GTEST_SKIP() << "the Recycle Bin lies outside the prefix";
    char folder[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder)));
    const std::string entry = std::string(folder) + "\\Orvane key.txt";
    WriteFileText(entry, "delete me");

    ShellInstall install;
    WritePrivateProfileStringA("Desktop", "Orvane key.txt", "500,400", install.IniPath().c_str());
    StartedShell shell = StartShell(install);
    ASSERT_NE(WaitForWindow(shell.process.id(), "TfrmDesktop", 10000), nullptr);
    ChildProcess typing = StartWindowHelper("Typing here");
    ASSERT_TRUE(WaitForForeground(typing.id(), 10000));
    PumpMessagesFor(500); // the link's icon is in place

    auto question = [&] {
        auto boxes = WindowsOfProcess(shell.process.id(), "#32770");
        return boxes.empty() ? nullptr : boxes.front();
    };
    // Another key between the click and Delete: the keys are the program's.
    MouseClickAt(500 + 24, 400 + 16);
    PumpMessagesFor(300);
    TapKey('Q');
    TapKey(VK_DELETE);
    PumpMessagesFor(1000);
    EXPECT_EQ(question(), nullptr);

    MouseClickAt(500 + 24, 400 + 16);
    PumpMessagesFor(300);
    TapKey(VK_DELETE);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = question()) != nullptr; }, 10000))
        << "no question after the Delete key";
    EXPECT_NE(MessageBoxText(box).find("Orvane key.txt"), std::string::npos) << MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(entry); }, 10000));
    EXPECT_EQ(ReadFileText("Z:" + data + "/Trash/files/Orvane key.txt"), "delete me");
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
    DeleteFileA(entry.c_str());
}

// What a close-all tool or taskkill without /f sends to every top-level
// window: the desktop only goes out of sight, and the clock brings it back.
TEST(DesktopE2E, CloseOnlyHidesTheDesktopUntilTheClockShowsItAgain) {
    ShellInstall install;
    StartedShell shell = StartShell(install);
    HWND desktop = WaitForWindow(shell.process.id(), "TfrmDesktop", 10000);
    ASSERT_NE(desktop, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(desktop) != FALSE; }, 5000));
    PumpMessagesFor(1000);

    bool hidden = false;
    ASSERT_TRUE(PostMessageA(desktop, WM_CLOSE, 0, 0));
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000 && !hidden; Sleep(5))
        hidden = IsWindow(desktop) && !IsWindowVisible(desktop);
    EXPECT_TRUE(hidden) << "WM_CLOSE did not hide the desktop";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(desktop) != FALSE; }, 5000))
        << "the clock did not show the desktop again";
    PumpMessagesFor(2000);
    ASSERT_TRUE(shell.process.running()) << "the shell ended on WM_CLOSE to its desktop";
    EXPECT_TRUE(IsWindowVisible(shell.main));
    EXPECT_TRUE(CloseShell(shell.process, shell.main));
}
