// The start panel of the real shell: the start button sliding it in and out
// (also while it moves), the first-showing log line, a Programs pop-up with a
// cascaded submenu as the user opens it, the keyboard.
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

using namespace orvane::test;

namespace {

constexpr char kShownFirst[] = "Main panel is shown first time";

std::string Special(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return path;
}

int LeftOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.left;
}

// Polls closely: a slide lasts under half a second.
bool WaitForLeft(HWND panel, const std::function<bool(int)>& wanted, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(2))
        if (wanted(LeftOf(panel)))
            return true;
    return false;
}

void PressStart(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

int CountLines(const ShellInstall& install, const std::string& text) {
    return CountLinesWith(SplitLines(ReadFileText(install.LogPath())), text);
}

std::vector<HWND> MenuWindows(DWORD thread) {
    std::vector<HWND> windows;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "#32768" && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::sort(windows.begin(), windows.end(), [](HWND a, HWND b) { return LeftOf(a) < LeftOf(b); });
    return windows;
}

void PostKey(HWND window, WORD key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

void SaveScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    auto* pixels = static_cast<uint32_t*>(bits);
    std::vector<uint32_t> copy(pixels, pixels + width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    WriteBmp(path, width, height, copy);
}

// The all-users Accessories holds only a sub-folder, so it comes first in
// its pop-up; the user's Accessories adds shortcuts after it.
class StartPanelE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        common_ = Special(CSIDL_COMMON_STARTMENU) + "\\Accessories";
        user_ = Special(CSIDL_STARTMENU) + "\\Accessories";
        CreateDirectoryA(common_.c_str(), nullptr);
        CreateDirectoryA((common_ + "\\System Tools").c_str(), nullptr);
        WriteFileText(common_ + "\\System Tools\\Character Map.lnk", "");
        WriteFileText(common_ + "\\System Tools\\Disk Cleanup.lnk", "");
        CreateDirectoryA(user_.c_str(), nullptr);
        WriteFileText(user_ + "\\Notepad.lnk", "");
        WriteFileText(user_ + "\\Calculator.lnk", "");
        shell_ = StartShell(install_);
        panel_ = WaitForWindow(shell_.process.id(), "TfrmStart", 20000);
        start_ = FindControl(shell_.main, "bbStart");
    }
    void TearDown() override {
        CloseShell(shell_.process, shell_.main);
        RemoveTree(common_);
        RemoveTree(user_);
    }

    std::string common_, user_;
    ShellInstall install_;
    StartedShell shell_;
    HWND panel_ = nullptr;
    HWND start_ = nullptr;
};

TEST_F(StartPanelE2E, StartButtonSlidesThePanelEvenWhileItMoves) {
    ASSERT_TRUE(panel_ && start_);
    EXPECT_EQ(LeftOf(panel_), -145);
    EXPECT_FALSE(IsWindowVisible(panel_)) << "hidden until the first slide-in";

    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 20000));
    EXPECT_TRUE(IsWindowVisible(panel_));
    EXPECT_EQ(CountLines(install_, kShownFirst), 1);
    EXPECT_EQ(CountLines(install_, "Begin of first main panel showing"), 1);

    // Pressed while sliding out: back in from where it is.
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left < 0 && left > -145; }, 10000));
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000));
    // Pressed while sliding in: the slide-in goes on.
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == -145; }, 10000));
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left > -145 && left < 0; }, 10000));
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000));
    Sleep(200);
    EXPECT_EQ(LeftOf(panel_), 0);
    EXPECT_EQ(CountLines(install_, kShownFirst), 1) << "written once per run";
}

// Whether `upper` comes before `lower` in the Z order.
bool Above(HWND upper, HWND lower) {
    for (HWND window = GetWindow(upper, GW_HWNDNEXT); window;
         window = GetWindow(window, GW_HWNDNEXT))
        if (window == lower)
            return true;
    return false;
}

COLORREF ScreenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(StartPanelE2E, TheBarStaysAboveTheShownOrTouchedPanel) {
    ASSERT_TRUE(panel_ && start_);
    RECT button;
    GetWindowRect(start_, &button);
    const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    // The pointer, wherever an earlier test left it, stays off the bar: a
    // button under it lights up when the windows around it change.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, 10);
    // The desktop comes at the clock's first tick after the bar, shown and
    // then put beneath it: the button is sampled once that has happened.
    HWND desktop = WaitForWindow(shell_.process.id(), "TfrmDesktop", 20000);
    ASSERT_NE(desktop, nullptr);
    ASSERT_TRUE(
        WaitUntil([&] { return IsWindowVisible(desktop) && Above(shell_.main, desktop); }, 10000));
    // The button as the bar draws it, once painted and steady.
    COLORREF drawn = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const COLORREF before = ScreenPixel(centre);
            Sleep(200);
            drawn = ScreenPixel(centre);
            return drawn != 0 && drawn == before;
        },
        10000));

    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return Above(shell_.main, panel_); }, 3000))
        << "the panel lies over the bar";
    EXPECT_EQ(WindowFromPoint(centre), start_);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(centre) == drawn; }, 3000))
        << "the start button is covered on the screen";
    SaveScreen(BinDir() + "\\startpanel_bar_above.bmp");

    // Put on top again (a click on it, another program's restacking).
    SetWindowPos(panel_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return Above(shell_.main, panel_); }, 3000))
        << "the touched panel lies over the bar";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(centre) == drawn; }, 3000));

    // A second press slides it out.
    PressStart(start_);
    EXPECT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == -145; }, 10000));
}

TEST_F(StartPanelE2E, ProgramsPopupCascadesIntoAFolderFilledOnOpening) {
    ASSERT_TRUE(panel_ && start_);
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 20000));
    HWND list = FindControl(panel_, "lbPrograms");
    ASSERT_NE(list, nullptr);
    int index = static_cast<int>(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>("Accessories")));
    ASSERT_GE(index, 0);
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const DWORD thread = GetWindowThreadProcessId(panel_, nullptr);
    // The list reports the new selection when the button comes up.
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, item.top + 5));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, item.top + 5));
    ASSERT_TRUE(WaitUntil([&] { return MenuWindows(thread).size() == 1; }, 10000));
    HWND popup = MenuWindows(thread).front();
    RECT popupRect, panelRect;
    GetWindowRect(popup, &popupRect);
    GetWindowRect(panel_, &panelRect);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    EXPECT_EQ(popupRect.left, panelRect.right) << "beside the panel";
    EXPECT_EQ(popupRect.top, origin.y + index * 19) << "level with the entry";

    PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return MenuWindows(thread).size() == 2; }, 10000))
        << "the folder's submenu did not open";
    Sleep(500);
    SaveScreen(BinDir() + "\\startpanel_cascade.bmp");
    auto windows = MenuWindows(thread);
    if (windows.size() == 2) {
        RECT sub;
        GetWindowRect(windows[1], &sub);
        EXPECT_GE(sub.left, popupRect.right - 4) << "cascaded to the right";
        EXPECT_GE(sub.bottom - sub.top, 40) << "listed: two items, not the placeholder";
    }
    for (int i = 0; i < 3 && !MenuWindows(thread).empty(); ++i) {
        PostKey(MenuWindows(thread).back(), VK_ESCAPE);
        WaitUntil([&] { return MenuWindows(thread).size() < windows.size() - i; }, 3000);
    }
}

} // namespace

namespace {

void Keys(std::initializer_list<std::pair<WORD, bool>> strokes) {
    std::vector<INPUT> inputs;
    for (auto [key, up] : strokes) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Tap(WORD key) {
    Keys({{key, false}, {key, true}});
}

} // namespace

TEST_F(StartPanelE2E, KeyboardOpensMovesThroughAndLeavesThePanel) {
    ASSERT_TRUE(panel_ && start_);
    // Ctrl+Esc typed while another program has the keyboard.
    ChildProcess typing = StartWindowHelper("Typing here");
    ASSERT_TRUE(WaitForForeground(typing.id(), 10000));
    Keys({{VK_CONTROL, false}, {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_CONTROL, true}});
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000));
    HWND list = FindControl(panel_, "lbPrograms");
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == panel_; }, 5000));
    const DWORD thread = GetWindowThreadProcessId(panel_, nullptr);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    ASSERT_GE(count, 2);

    // Down moves the selection without opening anything.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    Tap(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; }, 5000));
    PumpMessagesFor(300);
    EXPECT_TRUE(MenuWindows(thread).empty());
    Tap(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 0; }, 5000));

    // Enter opens the selected folder's pop-up; Escape closes it, then the panel.
    int accessories =
        static_cast<int>(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>("Accessories")));
    ASSERT_GE(accessories, 0);
    SendMessageA(list, LB_SETCURSEL, accessories, 0);
    Tap(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return MenuWindows(thread).size() == 1; }, 10000))
        << "Enter did not open the folder's pop-up";
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return MenuWindows(thread).empty(); }, 10000));
    SetForegroundWindow(panel_);
    SetFocus(list);
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == -145; }, 10000));

    // The Windows key alone brings it back; with another key it is a shortcut.
    Keys({{VK_LWIN, false}, {'E', false}, {'E', true}, {VK_LWIN, true}});
    PumpMessagesFor(500);
    EXPECT_EQ(LeftOf(panel_), -145);
    Tap(VK_LWIN);
    EXPECT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000));
}

namespace {

void ClickAt(POINT point) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

bool Dropped(HWND box) {
    return SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

} // namespace

TEST_F(StartPanelE2E, RunBoxTypingKeepsTheLineAndEscapeClosesOneThingAtATime) {
    ASSERT_TRUE(panel_ && start_);
    WritePrivateProfileStringA("Run", "0", "notepad", install_.IniPath().c_str());
    WritePrivateProfileStringA("Run", "1", "cmd", install_.IniPath().c_str());
    ChildProcess typing = StartWindowHelper("Typing here");
    ASSERT_TRUE(WaitForForeground(typing.id(), 10000));
    Keys({{VK_CONTROL, false}, {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_CONTROL, true}});
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000));
    HWND box = FindControl(panel_, "cbRun");
    ASSERT_NE(box, nullptr);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"notepad"));
    RECT field;
    GetWindowRect(box, &field);
    ClickAt({field.left + 20, field.top + 6});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == panel_; }, 5000));
    PumpMessagesFor(300);

    Tap(VK_END);
    Tap(VK_SPACE);
    Tap('X');
    EXPECT_TRUE(WaitUntil([&] { return ControlText(box) == "notepad x"; }, 5000))
        << ControlText(box);
    EXPECT_TRUE(WaitUntil([&] { return Dropped(box); }, 5000)) << "the history list opens";
    Tap(VK_HOME);
    Tap('Q');
    EXPECT_TRUE(WaitUntil([&] { return ControlText(box) == "qnotepad x"; }, 5000))
        << "typed where the caret is: " << ControlText(box);
    PumpMessagesFor(300);
    SaveScreen(BinDir() + "\\startpanel_runbox.bmp");

    // Escape closes the list and leaves the panel; the next one slides it out.
    ASSERT_TRUE(Dropped(box));
    Tap(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !Dropped(box); }, 5000));
    PumpMessagesFor(600);
    EXPECT_EQ(LeftOf(panel_), 0) << "the panel went with the list";
    EXPECT_FALSE(Dropped(box)) << "the list opened again";
    Tap(VK_ESCAPE);
    EXPECT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == -145; }, 10000));
    EXPECT_FALSE(Dropped(box));
}

TEST_F(StartPanelE2E, RunBoxOpensWhatIsNoProgramAndNamesWhatCannotStart) {
    ASSERT_TRUE(panel_ && start_);
    // The start button slides the panel in; the keys of the run box are real.
    PressStart(start_);
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000));
    HWND box = FindControl(panel_, "cbRun");
    ASSERT_NE(box, nullptr);
    RECT field;
    GetWindowRect(box, &field);
    ClickAt({field.left + 20, field.top + 6});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == panel_; }, 5000));

    // A folder is no program: it opens in a file window.
    ScratchDir folder;
    const std::string line = folder.path();
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
    Tap(VK_RETURN);
    EXPECT_TRUE(WaitUntil([] { return IsProcessRunning("explorer.exe"); }, 15000))
        << "the folder was not opened";
    EXPECT_EQ(FindMessageBox(shell_.process.id(), "Orvane Shell"), nullptr);

    // The file window took the foreground and may have sent the panel out:
    // it goes, and the panel is brought back and made active as before.
    EnsureExplorerEnded();
    if (LeftOf(panel_) != 0) {
        PressStart(start_);
        ASSERT_TRUE(WaitForLeft(
            panel_, [](int left) { return left == 0; }, 10000));
    }
    const std::string missing = "Z:\\no such place\\nothing here.exe";
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
    ClickAt({field.left + 20, field.top + 6});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == panel_; }, 5000));
    PumpMessagesFor(300);
    Tap(VK_RETURN);
    HWND message = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (message = FindMessageBox(shell_.process.id(), "Orvane Shell")) != nullptr; },
        10000))
        << "nothing said about a line that cannot start";
    EXPECT_NE(MessageBoxText(message).find(missing), std::string::npos) << MessageBoxText(message);
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(message); }, 5000);
    EnsureExplorerEnded();
}

namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO info{sizeof info};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

} // namespace

TEST_F(StartPanelE2E, WinRBringsThePanelWithTheRunBoxAndTabWalksTheSections) {
    ASSERT_TRUE(panel_ && start_);
    ChildProcess typing = StartWindowHelper("Typing here");
    ASSERT_TRUE(WaitForForeground(typing.id(), 10000));
    HWND box = FindControl(panel_, "cbRun");
    HWND list = FindControl(panel_, "lbPrograms");
    ASSERT_TRUE(box && list);
    HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);

    Keys({{VK_LWIN, false}, {'R', false}, {'R', true}, {VK_LWIN, true}});
    ASSERT_TRUE(WaitForLeft(
        panel_, [](int left) { return left == 0; }, 10000))
        << "Win+R did not bring the panel";
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == edit; }, 5000))
        << "the run box has not the keyboard";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == panel_; }, 5000));
    // Pressed again, the panel stays.
    Keys({{VK_LWIN, false}, {'R', false}, {'R', true}, {VK_LWIN, true}});
    PumpMessagesFor(600);
    EXPECT_EQ(LeftOf(panel_), 0);

    // Tab from the run box goes round to the first list.
    Tap(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(panel_) == list; }, 5000));

    // A pop-up closed by Escape gives the keyboard back to its list.
    const int accessories =
        static_cast<int>(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>("Accessories")));
    ASSERT_GE(accessories, 0);
    SendMessageA(list, LB_SETCURSEL, accessories, 0);
    const DWORD thread = GetWindowThreadProcessId(panel_, nullptr);
    Tap(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return MenuWindows(thread).size() == 1; }, 10000));
    Tap(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return MenuWindows(thread).empty(); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == list; }, 5000))
        << "the keyboard stayed with the closed pop-up";
    const int next = accessories > 0 ? accessories - 1 : accessories + 1;
    Tap(accessories > 0 ? VK_UP : VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == next; }, 5000));

    // Shift+Tab goes back: round to the run box, then the Help list.
    Keys({{VK_SHIFT, false}, {VK_TAB, false}, {VK_TAB, true}, {VK_SHIFT, true}});
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == edit; }, 5000));
    Keys({{VK_SHIFT, false}, {VK_TAB, false}, {VK_TAB, true}, {VK_SHIFT, true}});
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel_) == FindControl(panel_, "lbHelp"); }, 5000));
}
