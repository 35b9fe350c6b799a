#include "system/DefaultShell.h"

#include "base/Config.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "base/PlatformIni.h"
#include "base/ShellError.h"
#include "base/Win32Handles.h"

#include <windows.h>

namespace orvane {

namespace {

void WriteWinlogonShell(HKEY root, const std::string& command) {
    HKEY opened = nullptr;
    // Without rights under HKEY_LOCAL_MACHINE the user's own value still counts.
    if (RegCreateKeyExA(root, kWinlogonKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        return;
    UniqueRegKey key(opened);
    LONG status = RegSetValueExA(key.get(), "Shell", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>(command.size() + 1));
    if (status != ERROR_SUCCESS)
        throw ShellError("Unable to write the value Shell: " + SystemErrorText(status));
}

} // namespace

std::string IniShellCommand(const std::string& command) {
    if (command.find('\\') == std::string::npos)
        return command;
    DWORD size = GetShortPathNameA(command.c_str(), nullptr, 0);
    if (size == 0)
        // An empty shell= would leave the next logon without any shell.
        return command;
    std::string shortPath(size, '\0');
    DWORD n = GetShortPathNameA(command.c_str(), shortPath.data(), size);
    if (n == 0 || n >= size)
        return command;
    shortPath.resize(n);
    return shortPath;
}

void SetDefaultShell(const std::string& command, bool log) {
    TLog* shellLog = log ? ShellLog() : nullptr;
    if (shellLog)
        shellLog->Add("Set default shell: " + command);
    if (OSPlatform == kPlatformNT) {
        WriteWinlogonShell(HKEY_LOCAL_MACHINE, command);
        WriteWinlogonShell(HKEY_CURRENT_USER, command);
    } else {
        PlatformIniFile(WindowsFolderPath() + "\\System.ini")
            .WriteString("boot", "shell", IniShellCommand(command));
    }
    if (shellLog)
        shellLog->AppendToLast("done");
}

} // namespace orvane
