#include "system/KillProcess.h"

#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <windows.h>
#include <tlhelp32.h>

namespace orvane {

namespace {

// Locale-independent on purpose: process names are compared as the system
// stores them, and a locale's case rules must not make two names equal.
std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

bool ProcessNameMatches(const std::string& name, const std::string& exeField) {
    const std::string wanted = AsciiUpper(name);
    const std::string field = AsciiUpper(exeField);
    size_t slash = field.find_last_of('\\');
    std::string fileName = slash == std::string::npos ? field : field.substr(slash + 1);
    return wanted == fileName || wanted == field;
}

bool KillProcessByName(const std::string& name) {
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    // The shell itself may be installed as explorer.exe; ending it here would end
    // the very program that asked to replace explorer.
    const DWORD self = GetCurrentProcessId();
    bool result = false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self ||
            !ProcessNameMatches(name, Utf8Until(entry.szExeFile, MAX_PATH)))
            continue;
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        result = process && TerminateProcess(process.get(), 1);
    }
    return result;
}

} // namespace orvane
