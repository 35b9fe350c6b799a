#include "tests/e2e/ShellHarness.h"

#include "system/KillProcess.h"

#include "base/Utf.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <iterator>

namespace orvane::test {

ShellInstall::ShellInstall(const std::string& exeName) : dir_("shell"), exeName_(exeName) {
    CopyTree(StageDir(), dir_.path());
    if (exeName_ != "Orvane_Shell.exe")
        MoveFileA((dir_ / "Orvane_Shell.exe").c_str(), ExePath().c_str());
}

static std::string WithExtension(const std::string& path, const char* extension) {
    return path.substr(0, path.find_last_of('.')) + extension;
}

std::string ShellInstall::LogPath() const {
    return WithExtension(ExePath(), ".log");
}
std::string ShellInstall::IniPath() const {
    return WithExtension(ExePath(), ".ini");
}

ChildProcess ShellInstall::Start() const {
    return ChildProcess::Start("\"" + ExePath() + "\"", dir_.path());
}

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            auto windows = WindowsOfProcess(processId, className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool CloseShell(ChildProcess& shell, HWND mainWindow, DWORD timeoutMs) {
    if (mainWindow)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    bool ended = WaitUntil([&] { return !shell.running(); }, timeoutMs);
    shell.terminate();
    return ended;
}

StartedShell StartShell(const ShellInstall& install) {
    StartedShell shell;
    shell.process = install.Start();
    shell.main = WaitForWindow(shell.process.id(), "TfrmTaskbar", 20000);
    EXPECT_NE(shell.main, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return FileExists(install.LogPath()) &&
                   ReadFileText(install.LogPath()).find("WMDisplayChange") != std::string::npos;
        },
        20000));
    shell.log = SplitLines(ReadFileText(install.LogPath()));
    return shell;
}

bool HasLineEndingWith(const std::vector<std::string>& lines, const std::string& end) {
    for (const auto& line : lines)
        if (line.size() >= end.size() &&
            line.compare(line.size() - end.size(), end.size(), end) == 0)
            return true;
    return false;
}

static std::string ComponentNameOf(HWND window) {
    char name[256] = {};
    auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropA(window, "ComponentName")));
    if (atom)
        GlobalGetAtomNameA(atom, name, sizeof name);
    return name;
}

static std::vector<HWND> Descendants(HWND root) {
    std::vector<HWND> windows;
    EnumChildWindows(
        root,
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindControl(HWND root, const char* componentName) {
    for (HWND window : Descendants(root))
        if (ComponentNameOf(window) == componentName)
            return window;
    return nullptr;
}

std::string ControlText(HWND window) {
    // The wide message: the narrow one would bring the text through the code page.
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 3000, &length);
    return orvane::Utf8Until(text, std::size(text));
}

std::vector<TaskButtonView> TaskButtonsOf(HWND taskbar) {
    std::vector<TaskButtonView> buttons;
    HWND bar = FindControl(taskbar, "tbApplButtons");
    if (!bar)
        return buttons;
    for (HWND child = GetWindow(bar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // The bar keeps a hidden button ready for the next window.
        if (!IsWindowVisible(child))
            continue;
        TaskButtonView view{child, ControlText(child), false, {}};
        DWORD_PTR check = 0;
        SendMessageTimeoutA(child, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 3000, &check);
        view.down = check == BST_CHECKED;
        GetWindowRect(child, &view.bounds);
        buttons.push_back(view);
    }
    std::sort(buttons.begin(), buttons.end(), [](const TaskButtonView& a, const TaskButtonView& b) {
        return a.bounds.left < b.bounds.left;
    });
    return buttons;
}

HWND FindMessageBox(DWORD processId, const std::string& title) {
    for (HWND window : WindowsOfProcess(processId, "#32770")) {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        if (title == text)
            return window;
    }
    return nullptr;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (HWND child : Descendants(box)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0)
            text += ControlText(child);
    }
    return text;
}

bool IsProcessRunning(const std::string& exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        std::string file = orvane::Utf8Until(entry.szExeFile, MAX_PATH);
        file = file.substr(file.find_last_of('\\') + 1);
        found = lstrcmpiA(file.c_str(), exeName.c_str()) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

void EnsureExplorerRunning(ChildProcess& helper) {
    // The desktop process comes up with the first GUI program of the session.
    helper = StartWindowHelper("Explorer starter");
    if (!WaitUntil([] { return IsProcessRunning("explorer.exe"); }, 5000)) {
        // Not a ChildProcess: explorer must outlive this call; the scratch
        // prefix's end takes it down.
        WinExec("explorer.exe", SW_HIDE);
        ASSERT_TRUE(WaitUntil([] { return IsProcessRunning("explorer.exe"); }, 10000));
    }
}

void EnsureExplorerEnded() {
    KillProcessByName("explorer.exe");
    ASSERT_TRUE(WaitUntil([] { return !IsProcessRunning("explorer.exe"); }, 5000));
}

ChildProcess StartWindowHelper(const std::string& title) {
    return ChildProcess::Start("\"" + BinDir() + "\\test_window.exe\" \"" + title + "\"");
}

std::string DownCaption(HWND taskbar) {
    std::string down;
    for (const TaskButtonView& button : TaskButtonsOf(taskbar))
        if (button.down)
            down += button.caption;
    return down;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool WaitForForeground(DWORD processId, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            DWORD owner = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &owner);
            return owner == processId;
        },
        timeoutMs);
}

} // namespace orvane::test
