#include "system/Autorun.h"
#include "system/FileSystem.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "base/PlatformIni.h"
#include "base/ShellError.h"
#include "base/Win32Handles.h"

#include <exception>
#include <shlobj.h>
#include <vector>

namespace orvane {

namespace {

// WinExec reports nothing a logon start could act on, so its result is ignored.
void StartCommand(const std::string& command) {
    WinExec(command.c_str(), SW_SHOWNORMAL);
}

UniqueRegKey OpenRunKey(HKEY root, const std::string& key, bool forDeleting) {
    HKEY opened = nullptr;
    LONG status = forDeleting ? RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0,
                                                KEY_READ | KEY_SET_VALUE, nullptr, &opened, nullptr)
                              : RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened);
    return UniqueRegKey(status == ERROR_SUCCESS ? opened : nullptr);
}

std::vector<std::string> ValueNames(HKEY key) {
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<std::string> names;
    std::vector<char> buffer(longest + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (RegEnumValueA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

// A missing value reads as empty; a value of another type than text raises.
std::string ReadStringValue(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return {};
    if (status != ERROR_SUCCESS)
        throw ShellError("Unable to read the value " + name + ": " + SystemErrorText(status));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ShellError("Invalid data type for '" + name + "'");
    std::string data(size, '\0');
    status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (status != ERROR_SUCCESS)
        throw ShellError("Unable to read the value " + name + ": " + SystemErrorText(status));
    data.resize(size);
    // The stored text may or may not carry its terminating zero.
    size_t end = data.find('\0');
    if (end != std::string::npos)
        data.resize(end);
    return data;
}

// win.ini [windows] run=: the 9x family's list of logon programs.
void RunWinIni() {
    std::string list = PlatformIniFile(WindowsFolderPath() + "\\win.ini").ReadString("windows", "run", "");
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
    for (const auto& name : ValueNames(opened.get())) {
        StartCommand(ReadStringValue(opened.get(), name));
        // A value that cannot be deleted runs again at the next logon, which is
        // all the harm it can do; there is nothing better to do about it here.
        if (deleteAfterStart)
            RegDeleteValueA(opened.get(), name.c_str());
    }
}

void RunStartupFolder(int folderId) {
    const std::string folder = SpecialFolderPath(folderId);
    if (folder.empty())
        return;
    for (const TFolderEntry& entry : ListFolder(folder))
        if (!entry.hidden)
            ShellExecuteA(nullptr, nullptr, (folder + "\\" + entry.name).c_str(), nullptr,
                          folder.c_str(), SW_SHOWNORMAL);
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
