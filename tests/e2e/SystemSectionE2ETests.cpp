// The System section of the real shell: its entries on both platform
// families, and the Explorer command chosen from the Shell pop-up as a user
// does, which hands the session back to explorer.exe and ends the shell. The
// same executable runs a second time in a virtual desktop, where the explorer
// hosting the desktop stays the only one.
#include "tests/e2e/ShellHarness.h"

#include "base/Config.h"
#include "system/VirtualDesktop.h"

#include "base/Utf.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>

using namespace orvane::test;

namespace {

constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kColors[] = "Control Panel\\Colors";
constexpr char kShellAppDefaults[] = "Software\\Wine\\AppDefaults\\Orvane_Shell.exe";

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
    return windows;
}

void PostKey(HWND window, WORD key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

bool InVirtualDesktop() {
    return EnvVar("ORVANE_VDESK") == "1";
}

int ProcessCount(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        std::string file = orvane::Utf8Until(entry.szExeFile, MAX_PATH);
        count += lstrcmpiA(file.substr(file.find_last_of('\\') + 1).c_str(), exeName) == 0;
    }
    CloseHandle(snapshot);
    return count;
}

int Count(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

// Caption colours the shell finds at its start.
void SetStartingCaptionColours() {
    const INT elements[] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION};
    const COLORREF colours[] = {RGB(10, 20, 30), RGB(40, 50, 60)};
    SetSysColors(2, elements, colours);
    SetRegString(HKEY_CURRENT_USER, kColors, "ActiveTitle", "10 20 30");
    SetRegString(HKEY_CURRENT_USER, kColors, "GradientActiveTitle", "40 50 60");
}

class SystemSectionE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        if (InVirtualDesktop())
            GTEST_SKIP() << "run outside a virtual desktop";
    }
    void TearDown() override {
        if (shell_.process.running())
            CloseShell(shell_.process, shell_.main);
        DeleteRegKey(HKEY_CURRENT_USER, kShellAppDefaults);
    }

    // Starts the shell with its panel slid in; the System list or null.
    HWND StartWithPanel() {
        shell_ = StartShell(install_);
        panel_ = WaitForWindow(shell_.process.id(), "TfrmStart", 20000);
        HWND start = FindControl(shell_.main, "bbStart");
        // The panel's window exists before its sections do.
        HWND list = nullptr;
        WaitUntil([&] { return (list = FindControl(panel_, "lbSystem")) != nullptr; }, 20000);
        if (!list || !start) {
            ADD_FAILURE() << "no System list (panel " << panel_ << ") or start button; shell "
                          << (shell_.process.running() ? "running" : "ended") << "; log:\n"
                          << ReadFileText(install_.LogPath());
            return nullptr;
        }
        PostMessageA(start, BM_CLICK, 0, 0);
        WaitUntil(
            [&] {
                RECT rect{};
                GetWindowRect(panel_, &rect);
                return rect.left == 0;
            },
            20000);
        return list;
    }

    // Clicks the Shell entry, then chooses Explorer in its pop-up by keys.
    void ChooseExplorer(HWND list) {
        RECT item{};
        SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, item.top + 5));
        PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, item.top + 5));
        const DWORD thread = GetWindowThreadProcessId(panel_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return MenuWindows(thread).size() == 1; }, 10000))
            << "the Shell pop-up did not open";
        HWND popup = MenuWindows(thread).front();
        PostKey(popup, VK_DOWN);
        PostKey(popup, VK_DOWN);
        PostKey(popup, VK_RETURN);
    }

    std::vector<std::string> Log() const { return SplitLines(ReadFileText(install_.LogPath())); }

    // "Work end" once, as the last line, right after the default shell went back.
    void ExpectCleanEnd() {
        auto lines = Log();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& line) {
                                    return line.find("Work end") != std::string::npos;
                                }),
                  1);
        EXPECT_NE(lines.back().find(" Work end"), std::string::npos) << lines.back();
        EXPECT_NE(lines[lines.size() - 2].find(" Set default shell: explorer.exe... done"),
                  std::string::npos)
            << lines[lines.size() - 2];
        EXPECT_NE(orvane::IniFile(install_.IniPath()).ReadString("Taskbar", "TimeFormat", ""), "");
        EXPECT_TRUE(WaitUntil([] { return IsProcessRunning("explorer.exe"); }, 15000))
            << "explorer.exe must be started again";
    }

    ShellInstall install_;
    StartedShell shell_;
    HWND panel_ = nullptr;
};

TEST_F(SystemSectionE2E, UnderExplorerTheWayBackPutsTheColoursBackAndEnds) {
    SetStartingCaptionColours();
    ChildProcess helper;
    EnsureExplorerRunning(helper);
    HWND list = StartWithPanel();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Count(list), 4) << "the NT family has the task manager";
    EXPECT_EQ(Count(FindControl(panel_, "lbHelp")), 3);
    for (const std::string& line : Log()) {
        EXPECT_EQ(line.find("InitSystemMenu: "), std::string::npos) << line;
        EXPECT_EQ(line.find("InitHelpMenu: "), std::string::npos) << line;
    }

    // The platform's shut-down dialog comes up on a double click: a click,
    // then the double click, as the system reports them.
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(20, item.top + 5);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            auto boxes = WindowsOfProcess(shell_.process.id(), "#32770");
            dialog = boxes.empty() ? nullptr : boxes.front();
            return dialog != nullptr;
        },
        10000));
    if (dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), panel_) << "the panel owns the dialog";
        // No: the session goes on, and so does the shell.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
        EXPECT_TRUE(shell_.process.running());
    }
    ChooseExplorer(list);
    ASSERT_TRUE(shell_.process.wait(20000).has_value()) << "the shell must end";
    ExpectCleanEnd();
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kWinlogon, "Shell"), "explorer.exe");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kColors, "ActiveTitle"), "10 20 30");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kColors, "GradientActiveTitle"), "40 50 60");
}

TEST_F(SystemSectionE2E, OnTheNineXFamilyThreeEntriesAndUnsavedColoursStay) {
    SetRegString(HKEY_CURRENT_USER, kShellAppDefaults, "Version", "win98");
    // At logon nothing recolours the captions, so the way back has none to
    // put back and must leave them as they are.
    EnsureExplorerEnded();
    SetStartingCaptionColours();
    HWND list = StartWithPanel();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Count(list), 3) << "no task manager on the 9x family";
    EXPECT_TRUE(HasLineEndingWith(shell_.log, " Run on Windows start"));

    ChooseExplorer(list);
    ASSERT_TRUE(shell_.process.wait(20000).has_value()) << "the shell must end";
    ExpectCleanEnd();
    EXPECT_EQ(orvane::IniFile(WindowsFolder() + "\\System.ini").ReadString("boot", "shell", ""),
              "explorer.exe");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kColors, "ActiveTitle"), "10 20 30");
}

class SystemSectionVdeskE2E : public SystemSectionE2E {
  protected:
    void SetUp() override {
        if (!InVirtualDesktop())
            GTEST_SKIP() << "runs in a virtual desktop";
        // The desktop process comes up with the first window of the session.
        helper_ = StartWindowHelper("Desktop starter");
        ASSERT_TRUE(WaitUntil([] { return orvane::ExplorerHostsVirtualDesktop(); }, 20000));
    }
    ChildProcess helper_;
};

TEST_F(SystemSectionVdeskE2E, TheWayBackLeavesTheHostingExplorerAlone) {
    HWND list = StartWithPanel();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(HasLineEndingWith(shell_.log, "Explorer hosts the virtual desktop: left running"));
    ASSERT_EQ(ProcessCount("explorer.exe"), 1);
    ChooseExplorer(list);
    ASSERT_TRUE(shell_.process.wait(20000).has_value()) << "the shell must end";
    ExpectCleanEnd();
    EXPECT_FALSE(WaitUntil([] { return ProcessCount("explorer.exe") != 1; }, 5000))
        << "a second explorer.exe was started";
    EXPECT_TRUE(orvane::ExplorerHostsVirtualDesktop());
}

} // namespace
