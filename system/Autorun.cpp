#include "system/Autorun.h"
#include "system/FileSystem.h"
#include "system/ProgramStart.h"
#include "system/Registry.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "base/PlatformIni.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <exception>
#include <shellapi.h>
#include <shlobj.h>
#include <vector>

namespace orvane {

namespace {

// As at every logon, a command that does not start keeps no one from the
// next: there is nothing a logon start could do about it.
void StartCommand(const std::string& command) {
    StartProgram(command, SW_SHOWNORMAL);
}

UniqueRegKey OpenRunKey(HKEY root, const std::string& key, bool forDeleting) {
    return forDeleting ? CreateRegKey(root, key, KEY_READ | KEY_SET_VALUE)
                       : OpenRegKey(root, key, KEY_READ);
}

// A missing value reads as empty; a value of another type than text raises.
std::string ReadStringValue(HKEY key, const std::string& name) {
    return ReadRegText(key, name).value_or(std::string());
}

// win.ini [windows] run=: the 9x family's list of logon programs.
void RunWinIni() {
    std::string list =
        PlatformIniFile(WindowsFolderPath() + "\\win.ini").ReadString("windows", "run", "");
    size_t start = 0;
    while (start < list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        Guarded("AutorunAll", FailurePolicy::LogAndContinue, [&] {
            std::string item = list.substr(start, comma - start);
            if (!item.empty())
                StartCommand(item);
        });
        start = comma + 1;
    }
}

} // namespace

void RunRegistryKey(HKEY root, const std::string& key, bool deleteAfterStart) {
    UniqueRegKey opened = OpenRunKey(root, key, deleteAfterStart);
    if (!opened)
        return;
    // Names first: deleting while enumerating would shift the indices.
    for (const auto& name : RegValueNames(opened.get())) {
        StartCommand(ReadStringValue(opened.get(), name));
        // A value that cannot be deleted runs again at the next logon, which is
        // all the harm it can do; there is nothing better to do about it here.
        if (deleteAfterStart)
            DeleteRegValue(opened.get(), name);
    }
}

void RunStartupFolder(int folderId) {
    const std::string folder = SpecialFolderPath(folderId);
    if (folder.empty())
        return;
    for (const TFolderEntry& entry : ListFolder(folder))
        if (!entry.hidden)
            ShellExecuteW(nullptr, nullptr, Wide(folder + "\\" + entry.name).c_str(), nullptr,
                          Wide(folder).c_str(), SW_SHOWNORMAL);
}

void RunForDos(HKEY root, const std::string& key) {
    UniqueRegKey opened = OpenRunKey(root, key, false);
    if (!opened)
        return;
    std::string commands = ReadStringValue(opened.get(), "Run") + " ";
    while (!commands.empty()) {
        size_t blank = commands.find(' ');
        Guarded("RunForDos", FailurePolicy::LogAndContinue, [&] {
            // Runs of blanks leave empty parts, which name nothing to start.
            std::string part = commands.substr(0, blank);
            if (!part.empty())
                StartCommand(part);
        });
        commands.erase(0, blank + 1);
    }
}

void AutorunAll(bool explorerWasRunning) {
    const bool atLogon = !explorerWasRunning;
    if (atLogon) {
        RunRegistryKey(HKEY_LOCAL_MACHINE, kRunOnceKey, true);
        RunRegistryKey(HKEY_LOCAL_MACHINE, kRunKey, false);
        RunRegistryKey(HKEY_CURRENT_USER, kRunKey, false);
        RunStartupFolder(CSIDL_STARTUP);
        // The 9x family has no common Startup folder of its own.
        if (OSPlatform != kPlatform9x)
            RunStartupFolder(CSIDL_COMMON_STARTUP);
    }
    // Outside a logon the user's RunOnce commands still start (a setup program
    // may wait for them), but they stay for the logon they were meant for.
    RunRegistryKey(HKEY_CURRENT_USER, kRunOnceKey, atLogon);
    if (!atLogon)
        return;
    if (OSPlatform == kPlatform9x) {
        RunWinIni();
    } else {
        RunForDos(HKEY_LOCAL_MACHINE, kPoliciesExplorerKey);
        RunForDos(HKEY_CURRENT_USER, kPoliciesExplorerKey);
    }
}

} // namespace orvane
