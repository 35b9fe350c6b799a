#pragma once
// Starting what Windows itself starts at logon, for a shell that stands in for
// explorer.exe.
#include <windows.h>
#include <string>

namespace orvane {

inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr const char* kPoliciesExplorerKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Starts the logon programs: Run and RunOnce keys, the Startup folders and, by
// platform family, win.ini run= or the Policies "Run" values. When explorer was
// running, logon has already happened, so only the user's RunOnce commands are
// started and kept for the next logon.
void AutorunAll(bool explorerWasRunning);

// Starts the command line of every value of `key` under `root`; with
// `deleteAfterStart` each value is deleted once started and a missing key is
// created. A value that is not a string raises ShellError.
void RunRegistryKey(HKEY root, const std::string& key, bool deleteAfterStart);

// Opens every item of a Startup special folder (CSIDL_STARTUP,
// CSIDL_COMMON_STARTUP), hidden items excepted.
void RunStartupFolder(int folderId);

// Starts the blank-separated commands of the value "Run" of `key` under `root`.
void RunForDos(HKEY root, const std::string& key);

} // namespace orvane
