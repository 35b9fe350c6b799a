#include "system/DefaultShell.h"

#include "base/Config.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "base/PlatformIni.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"
#include "system/Registry.h"

#include <windows.h>

namespace orvane {

namespace {

void WriteWinlogonShell(HKEY root, const std::string& command) {
    // Without rights under HKEY_LOCAL_MACHINE the user's own value still counts.
    UniqueRegKey key = CreateRegKey(root, kWinlogonKey, KEY_SET_VALUE);
    if (!key)
        return;
    const LONG status = WriteRegText(key.get(), "Shell", command);
    if (status != ERROR_SUCCESS)
        throw ShellError("Unable to write the value Shell: " + SystemErrorText(status));
}

} // namespace

std::string IniShellCommand(const std::string& command) {
    if (command.find('\\') == std::string::npos)
        return command;
    const std::wstring path = Wide(command);
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        // An empty shell= would leave the next logon without any shell.
        return command;
    std::wstring shortPath(size, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (n == 0 || n >= size)
        return command;
    shortPath.resize(n);
    return Utf8(shortPath);
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
