#pragma once
// Which program Windows starts as the shell at logon.
#include <string>

namespace orvane {

// Registry key (under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER) whose value
// "Shell" names the shell on the NT family.
inline constexpr const char* kWinlogonKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Makes `command` (a program name or a full path) the default shell: the
// Winlogon "Shell" values on the NT family, System.ini [boot] shell= elsewhere,
// where a path is written in its short (8.3) form. With `log`, the change is
// noted in the run's log. A refused write raises ShellError.
void SetDefaultShell(const std::string& command, bool log);

// The form of `command` written to System.ini: a path (it holds a backslash) is
// shortened to 8.3 form; a path that cannot be shortened stays as it is.
std::string IniShellCommand(const std::string& command);

} // namespace orvane
