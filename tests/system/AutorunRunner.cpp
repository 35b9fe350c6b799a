// autorun_runner.exe, the shell's start-up steps in a process of their own, so
// that the platform family comes from this program's Wine version setting:
//   autorun_runner.exe autorun <explorer-was-running 0|1> [log file]
//   autorun_runner.exe shell <command> [log file] [log 0|1]
// With a log file the run's log is created there. The exit code is the platform
// code, 100 when the operation raised and 101 for a wrong command line.
#include "system/Autorun.h"
#include "system/DefaultShell.h"
#include "base/Log.h"
#include "base/Platform.h"

#include <windows.h>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace orvane;
    if (__argc < 3)
        return 101;
    const std::string mode = __argv[1], argument = __argv[2];
    OSPlatform = GetOSPlatform();
    CoInitialize(nullptr);
    int result = OSPlatform;
    try {
        std::unique_ptr<TLog> log;
        if (__argc > 3) {
            log = std::make_unique<TLog>(__argv[3]);
            SetShellLog(log.get());
        }
        if (mode == "autorun")
            AutorunAll(argument == "1");
        else if (mode == "shell")
            SetDefaultShell(argument, __argc > 4 ? std::string(__argv[4]) == "1" : true);
        else
            result = 101;
        SetShellLog(nullptr);
    } catch (const std::exception&) {
        SetShellLog(nullptr);
        result = 100;
    }
    CoUninitialize();
    return result;
}
