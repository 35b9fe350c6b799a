#include "system/ProcessInfo.h"

#include "base/Text.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <tlhelp32.h>

namespace orvane {

namespace {

using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

struct PsapiFunctions {
    UniqueModule psapi;
    EnumProcessModulesFn enumProcessModules = nullptr;
    GetModuleFileNameExFn getModuleFileNameEx = nullptr;
};

template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(GetProcAddress(module, name)) : nullptr;
}

// psapi.dll is only loaded when a task button first needs it. Newer systems
// keep the same functions in kernel32 under K32 names, should psapi lack them.
const PsapiFunctions& Psapi() {
    static const PsapiFunctions functions = [] {
        PsapiFunctions f;
        f.psapi.reset(LoadLibraryW(L"psapi.dll"));
        f.enumProcessModules =
            ProcAddress<EnumProcessModulesFn>(f.psapi.get(), "EnumProcessModules");
        f.getModuleFileNameEx =
            ProcAddress<GetModuleFileNameExFn>(f.psapi.get(), "GetModuleFileNameExW");
        if (!f.enumProcessModules || !f.getModuleFileNameEx) {
            HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
            f.enumProcessModules =
                ProcAddress<EnumProcessModulesFn>(kernel, "K32EnumProcessModules");
            f.getModuleFileNameEx =
                ProcAddress<GetModuleFileNameExFn>(kernel, "K32GetModuleFileNameExW");
        }
        return f;
    }();
    return functions;
}

} // namespace

std::string GetProcessExeName(HWND window) {
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return std::string();
    // No window has no process; the list's entry 0 (the idle process) is not its.
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId) || processId == 0)
        return std::string();

    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == processId)
            return LowerCase(Utf8Until(entry.szExeFile, MAX_PATH));
    }
    return std::string();
}

std::string GetProcessModulePath(HWND window) {
    const auto& psapi = Psapi();
    if (!psapi.enumProcessModules || !psapi.getModuleFileNameEx)
        return std::string();

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process)
        return std::string();

    HMODULE modules[256] = {};
    DWORD needed = 0;
    if (!psapi.enumProcessModules(process.get(), modules, sizeof modules, &needed) || needed == 0)
        return std::string();

    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = psapi.getModuleFileNameEx(process.get(), modules[0], name, MAX_PATH);
    if (length == 0)
        return std::string();
    return LowerCase(Utf8Until(name, length));
}

} // namespace orvane
