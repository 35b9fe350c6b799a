#include "system/ProgramStart.h"

#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <windows.h>

namespace orvane {

namespace {

// What the platform's own program start gives a program to come up.
constexpr DWORD kIdleWaitMs = 30000;

bool Start(const std::string& commandLine, int show, DWORD idleWaitMs) {
    // CreateProcessW may write into the command line.
    std::wstring line = Wide(commandLine);
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    if (commandLine.empty() || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                                               nullptr, nullptr, &startup, &started))
        return false;
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    // A program without windows, or one that ends at once, is idle at once.
    if (idleWaitMs)
        WaitForInputIdle(process.get(), idleWaitMs);
    return true;
}

} // namespace

bool StartProgram(const std::string& commandLine, int show) {
    return Start(commandLine, show, kIdleWaitMs);
}

bool LaunchProgram(const std::string& commandLine, int show) {
    return Start(commandLine, show, 0);
}

} // namespace orvane
