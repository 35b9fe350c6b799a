#include "tests/e2e/ShellHarness.h"

#include <tlhelp32.h>

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

bool IsProcessRunning(const std::string& exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry)) {
        std::string file = entry.szExeFile;
        file = file.substr(file.find_last_of('\\') + 1);
        found = lstrcmpiA(file.c_str(), exeName.c_str()) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

ChildProcess StartWindowHelper(const std::string& title) {
    return ChildProcess::Start("\"" + BinDir() + "\\e2e_window_helper.exe\" \"" + title + "\"");
}

} // namespace orvane::test
