// The own icons as a person sees them: the taskbar with Notepad, the Control
// Panel, a file browser and a window with a coloured icon; the Programs pop-up
// and desktop links of shortcuts to programs. Each capture is written to
// icon-look\*.bmp in the build tree to be looked at.
#include "base/Utf.h"
#include "desktop/DesktopForm.h"
#include "files/FilesForm.h"
#include "paint/Dib.h"
#include "paint/Skin.h"
#include "startpanel/StartPanel.h"
#include "system/IconLookup.h"
#include "system/Shortcuts.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/TaskbarForm.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/menu/MenuDriver.h"
#include "toolkit/Timer.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"
#include "widgets/SkinButton.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <set>

using namespace orvane;
using namespace orvane::test;

namespace {

void CaptureScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(width, height, &bits);
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    {
        SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits),
                                 static_cast<uint32_t*>(bits) + width * height);
    // GDI leaves the alpha byte 0; viewers would take that as transparent.
    for (uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;
    WriteBmp(path, width, height, pixels);
}

// A 16 x 16 icon: an orange disc on a transparent ground.
UniqueIcon DiscIcon() {
    WindowDc screen(nullptr);
    UniqueBitmap image(CreateCompatibleBitmap(screen.get(), 16, 16));
    UniqueBitmap mask(CreateBitmap(16, 16, 1, 1, nullptr));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    RECT all{0, 0, 16, 16};
    {
        SelectedObject selected(dc.get(), image.get());
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        UniqueBrush brush(CreateSolidBrush(RGB(255, 140, 0)));
        SelectedObject brushIn(dc.get(), brush.get());
        Ellipse(dc.get(), 0, 0, 16, 16);
    }
    {
        SelectedObject selected(dc.get(), mask.get());
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SelectedObject brushIn(dc.get(), GetStockObject(BLACK_BRUSH));
        Ellipse(dc.get(), 0, 0, 16, 16);
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
    return UniqueIcon(CreateIconIndirect(&info));
}

HWND FirstWindowOf(const ChildProcess& process) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : WindowsOfProcess(process.id()))
                if (IsWindowVisible(window) && !GetWindow(window, GW_OWNER))
                    found = window;
            return found != nullptr;
        },
        15000);
    return found;
}

std::vector<uint32_t> GlyphPixels(const TSkinSpeedButton& button) {
    std::vector<uint32_t> pixels;
    if (!button.Glyph())
        return pixels;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), button.Glyph());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(GetPixel(dc.get(), x, y));
    return pixels;
}

std::string Special(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE);
    return Utf8(path);
}

const char* const kPrograms[][2] = {{"Notepad", "C:\\windows\\notepad.exe"},
                                    {"Registry Editor", "C:\\windows\\regedit.exe"},
                                    {"Wine Configuration", "C:\\windows\\system32\\winecfg.exe"},
                                    {"Control Panel", "C:\\windows\\system32\\control.exe"},
                                    {"Task Manager", "C:\\windows\\system32\\taskmgr.exe"},
                                    {"Gone Program", "C:\\no such folder\\gone.exe"}};

class IconLook : public ::testing::Test {
  protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CurrentSkin().LoadFromFile(StageDir() + "\\Skins\\Orvane.skn");
        folder_ = BinDir() + "\\..\\icon-look";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override { CoUninitialize(); }

    void WaitForOwnIcons() {
        WaitUntil([] { return IconLookup().Waiting() == 0; }, 15000);
        PumpMessagesFor(500);
    }

    std::string folder_;
};

} // namespace

TEST_F(IconLook, TaskbarButtonsShowTheirWindowsOwnIcons) {
    ChildProcess notepad = ChildProcess::Start("notepad.exe");
    ChildProcess control = ChildProcess::Start("control.exe");
    HWND notepadWindow = FirstWindowOf(notepad);
    HWND controlWindow = FirstWindowOf(control);
    ASSERT_TRUE(notepadWindow && controlWindow);
    MoveWindow(notepadWindow, 60, 60, 420, 300, TRUE);
    MoveWindow(controlWindow, 520, 60, 420, 300, TRUE);

    auto* browser = CreateForm<TfrmFiles>(&App(), "frmFiles");
    browser->SetBounds(200, 380, 410, 300);
    browser->Show();
    browser->OpenFolder("C:\\windows\\");

    UniqueIcon disc = DiscIcon();
    HWND own = CreateWindowExW(WS_EX_APPWINDOW, L"STATIC", L"Coloured icon",
                               WS_POPUP | WS_BORDER | WS_VISIBLE, 650, 420, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
    SendMessageW(own, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(disc.get()));

    auto* taskbar = CreateForm<TfrmTaskbar>(&App());
    taskbar->WMDisplayChange();
    taskbar->Show();
    for (HWND window : {notepadWindow, controlWindow, browser->Handle(), own})
        taskbar->TaskButtons().AddTaskButton(window);
    taskbar->RefreshTaskButtons();
    WaitForOwnIcons();
    // The browser's window is this test program's, which has no icon: it keeps
    // the type icon. Under Wine another process's icon handles cannot be read
    // here, so Notepad's picture comes from its program file.
    std::set<std::vector<uint32_t>> pictures;
    for (HWND window : {notepadWindow, own}) {
        TSkinSpeedButton* button = taskbar->TaskButtons().ButtonOf(window);
        ASSERT_NE(button, nullptr);
        std::vector<uint32_t> pixels = GlyphPixels(*button);
        EXPECT_FALSE(pixels.empty()) << button->Hint() << ": no own icon";
        pictures.insert(pixels);
    }
    EXPECT_EQ(pictures.size(), 2u);
    CaptureScreen(folder_ + "\\taskbar.bmp");

    App().FreeComponent(taskbar);
    App().FreeComponent(browser);
    DestroyWindow(own);
}

TEST_F(IconLook, ProgramsPopupAndDesktopLinksShowTheirTargetsIcons) {
    const std::string look = Special(CSIDL_STARTMENU) + "\\Zz Look";
    CreateDirectoryW(Wide(look).c_str(), nullptr);
    ScratchDir desktopDir("look-desktop");
    for (const char* folder : {"user", "common", "links", "wallpaper"})
        CreateDirectoryA((desktopDir / folder).c_str(), nullptr);
    for (const auto& [name, target] : kPrograms) {
        CreateShortcut(target, look + "\\" + name + ".lnk", "", "");
        CreateShortcut(target, desktopDir / "user" + "\\" + name + ".lnk", "", "");
    }
    const std::string shell = StageDir() + "\\Orvane_Shell.exe";
    CreateShortcut(shell, look + "\\Orvane Shell.lnk", "", "");
    CreateShortcut(shell, desktopDir / "user" + "\\Orvane Shell.lnk", "", "");

    TDesktopPlaces places;
    places.userDesktop = desktopDir / "user";
    places.commonDesktop = desktopDir / "common";
    places.programLinks = desktopDir / "links";
    places.wallpaperFolder = desktopDir / "wallpaper";
    places.configFile = desktopDir / "shell.ini";
    auto* desktop = CreateForm<TfrmDesktop>(&App(), places);
    desktop->Show();
    WaitForOwnIcons();
    CaptureScreen(folder_ + "\\desktop.bmp");

    TStartPanelHost host;
    host.TaskbarHeight = 30;
    auto* panel = CreateForm<TfrmStart>(&App(), std::move(host));
    panel->Show();
    panel->SlideIn();
    for (int tick = 0; tick < 50 && panel->Left() < 0; ++tick)
        panel->trrShowStartTimer();
    panel->trrShowStart->SetEnabled(false);
    TStringList& items = panel->lbPrograms->Items();
    int index = -1;
    for (int i = 0; i < items.Count(); ++i)
        if (items[i] == "Zz Look")
            index = i;
    ASSERT_GE(index, 0);
    panel->lbPrograms->SetItemIndex(index);
    const std::string capture = folder_ + "\\programs.bmp";
    MenuDriver driver([&](MenuDriver& menu) {
        menu.WaitForWindows(1, 10000);
        // The own icons arrive while the pop-up is open.
        Sleep(2500);
        CaptureScreen(capture);
        menu.Key(VK_ESCAPE);
    });
    panel->lbProgramsClick();
    int own = 0;
    for (int i = 0; i < panel->pmStart->Items().Count(); ++i) {
        TMenuItem* item = panel->pmStart->Items().Items(i);
        own += item->Tag != 0;
    }
    EXPECT_EQ(own, panel->pmStart->Items().Count());

    App().FreeComponent(panel);
    App().FreeComponent(desktop);
    RemoveTree(look);
}
