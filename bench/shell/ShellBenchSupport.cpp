#include "bench/shell/ShellBenchSupport.h"

#include "bench/BenchSupport.h"

#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <map>
#include <cstring>

namespace shellbench {

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// ---- processes ----------------------------------------------------------

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
    other.handle_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (handle_)
            CloseHandle(handle_);
        handle_ = other.handle_;
        id_ = other.id_;
        other.handle_ = nullptr;
    }
    return *this;
}

Process::~Process() {
    if (handle_)
        CloseHandle(handle_);
}

Process Process::Start(const std::wstring& command, const std::wstring& folder) {
    Process process;
    std::wstring line = command;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return process;
    CloseHandle(info.hThread);
    process.handle_ = info.hProcess;
    process.id_ = info.dwProcessId;
    return process;
}

Process Process::Attach(DWORD processId) {
    Process process;
    process.handle_ = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    process.id_ = process.handle_ ? processId : 0;
    return process;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitEnd(DWORD timeoutMs) {
    return !handle_ || WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

void Process::Terminate() {
    if (Running()) {
        TerminateProcess(handle_, 1);
        WaitEnd(10000);
    }
}

// ---- notify icons -------------------------------------------------------

namespace {

constexpr UINT kCallback = WM_APP + 7;

HWND IconOwner() {
    static HWND owner = CreateWindowExW(0, L"STATIC", L"bench icons", WS_POPUP, 0, 0, 1, 1, nullptr,
                                        nullptr, nullptr, nullptr);
    return owner;
}

HICON BenchIcon(bool second) {
    static HICON icons[2] = {static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32515),
                                                           IMAGE_ICON, 16, 16, LR_SHARED)),
                             static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32516),
                                                           IMAGE_ICON, 16, 16, LR_SHARED))};
    return icons[second ? 1 : 0];
}

NOTIFYICONDATAW IconData(uint32_t id, UINT flags, bool second) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = IconOwner();
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = kCallback;
    data.hIcon = BenchIcon(second);
    std::wstring tip = L"bench icon " + std::to_wstring(id);
    wcsncpy(data.szTip, tip.c_str(), ARRAYSIZE(data.szTip) - 1);
    return data;
}

} // namespace

TrayIcon::TrayIcon(uint32_t id) : id_(id) {}

bool TrayIcon::Add() {
    NOTIFYICONDATAW data = IconData(id_, NIF_ICON | NIF_TIP | NIF_MESSAGE, false);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool TrayIcon::Modify(bool second) {
    NOTIFYICONDATAW data = IconData(id_, NIF_ICON | NIF_TIP, second);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TrayIcon::Delete() {
    NOTIFYICONDATAW data = IconData(id_, 0, false);
    return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

size_t TrayIcon::AddBlockSize() const {
    // Wine's block: a 960-byte record, then the icon's mask and colour bits.
    ICONINFO info{};
    if (!GetIconInfo(BenchIcon(false), &info))
        return 960;
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    const size_t w = static_cast<size_t>(colour.bmWidth), h = static_cast<size_t>(colour.bmHeight);
    const size_t bpp = colour.bmBitsPixel;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return 960 + (w * h + 15) / 16 * 2 + (w * h * bpp + 15) / 16 * 2;
}

// ---- process figures ----------------------------------------------------

MemoryFigures MemoryOf(const Process& process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    MemoryFigures figures;
    if (GetProcessMemoryInfo(process.Handle(), &counters, sizeof counters)) {
        figures.residentMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
        figures.privateMb = static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
    }
    return figures;
}

MemoryMap MemoryMapOf(const Process& process) {
    MemoryMap map;
    MEMORY_BASIC_INFORMATION info{};
    const uint8_t* at = nullptr;
    while (VirtualQueryEx(process.Handle(), at, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT) {
            const double mb = static_cast<double>(info.RegionSize) / (1024.0 * 1024.0);
            if (info.Type == MEM_IMAGE)
                map.imageMb += mb;
            else if (info.Type == MEM_MAPPED)
                map.mappedMb += mb;
            else
                map.privateMb += mb;
        }
        const uint8_t* next = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return map;
}

namespace {

struct WindowCount {
    DWORD processId;
    int count;
};

std::map<std::wstring, int>* classTally = nullptr;

BOOL CALLBACK CountChild(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    ++count->count;
    if (classTally) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, ARRAYSIZE(name));
        ++(*classTally)[name];
    }
    return TRUE;
}

BOOL CALLBACK CountTop(HWND window, LPARAM data) {
    auto* count = reinterpret_cast<WindowCount*>(data);
    if (OwnedBy(window, count->processId)) {
        ++count->count;
        if (classTally) {
            wchar_t name[64] = {};
            GetClassNameW(window, name, ARRAYSIZE(name));
            ++(*classTally)[std::wstring(L"top ") + name];
        }
        EnumChildWindows(window, CountChild, data);
    }
    return TRUE;
}

int ThreadsOf(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId)
            ++threads;
    CloseHandle(snapshot);
    return threads;
}

// GetProcessHandleCount answers 0 under Wine 8; the system's handle table
// (SystemHandleInformation, which wineserver fills) has every process's.
DWORD HandlesOf(const Process& process) {
    struct HandleEntry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using QueryFunction = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static auto query = reinterpret_cast<QueryFunction>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<uint8_t> buffer(1 << 20);
    for (int attempt = 0; query && attempt < 6; ++attempt) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer.data(),
                            static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0)
            break;
        const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
        const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
        DWORD mine = 0;
        for (ULONG i = 0; i < count; ++i)
            if (entries[i].ownerPid == process.Id())
                ++mine;
        return mine;
    }
    DWORD handles = 0;
    GetProcessHandleCount(process.Handle(), &handles);
    return handles;
}

} // namespace

std::map<std::wstring, int> WindowClassesOf(const Process& process) {
    std::map<std::wstring, int> tally;
    classTally = &tally;
    WindowCount count{process.Id(), 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&count));
    classTally = nullptr;
    return tally;
}

ProcessFigures FiguresOf(const Process& process) {
    ProcessFigures figures;
    figures.residentMb = MemoryOf(process).residentMb;
    figures.handles = HandlesOf(process);
    WindowCount count{process.Id(), 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&count));
    figures.windows = count.count;
    figures.threads = ThreadsOf(process.Id());
    return figures;
}

bool OwnedBy(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

namespace {

struct TopQuery {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<TopQuery*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    if (OwnedBy(window, query->processId) && (!query->className || !wcscmp(name, query->className)))
        query->found.push_back(window);
    return TRUE;
}

struct ControlQuery {
    const char* name;
    HWND found;
};

BOOL CALLBACK FindNamed(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<ControlQuery*>(data);
    char name[128] = {};
    auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropW(window, L"ComponentName")));
    if (atom)
        GlobalGetAtomNameA(atom, name, sizeof name);
    if (!std::strcmp(name, query->name)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className) {
    TopQuery query{processId, className, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND ControlNamed(HWND root, const char* componentName) {
    ControlQuery query{componentName, nullptr};
    EnumChildWindows(root, FindNamed, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// ---- the shell and explorer ---------------------------------------------

void EndExplorer() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, L"explorer.exe"))
            continue;
        if (HANDLE process =
                OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

HWND WaitForTray(DWORD processId, DWORD timeoutMs) {
    for (DWORD start = GetTickCount();; Sleep(5)) {
        // By class, not by EnumWindows: Wine's enumeration skipped the
        // shell's hidden tray window.
        for (HWND tray = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr); tray;
             tray = FindWindowExW(nullptr, tray, L"Shell_TrayWnd", nullptr))
            if (OwnedBy(tray, processId))
                return tray;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
    }
}

bool StartFinished(const Process& shell) {
    // The settings dialog is the last window the start makes.
    return !TopWindowsOf(shell.Id(), L"TfrmSettings").empty();
}

bool WaitForShell(const Process& shell, DWORD timeoutMs) {
    TrayIcon probe(9002);
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs && shell.Running();
         Sleep(10)) {
        auto bars = TopWindowsOf(shell.Id(), L"TfrmTaskbar");
        if (bars.empty() || !IsWindowVisible(bars.front()) || !WaitForTray(shell.Id(), 0) ||
            !StartFinished(shell))
            continue;
        if (probe.Add()) {
            probe.Delete();
            return true;
        }
    }
    std::fprintf(stderr, "the shell did not come up\n");
    return false;
}

void CloseShell(Process& shell) {
    for (HWND bar : TopWindowsOf(shell.Id(), L"TfrmTaskbar"))
        PostMessageW(bar, WM_CLOSE, 0, 0);
    if (!shell.WaitEnd(20000))
        shell.Terminate();
}

// ---- the helper ---------------------------------------------------------

namespace {

int helperIcons = 0;
UINT taskbarCreated = 0;
HANDLE iconsReady = nullptr;

void AddHelperIcons() {
    int added = 0;
    for (int i = 0; i < helperIcons; ++i) {
        TrayIcon icon(static_cast<uint32_t>(100 + i));
        for (int attempt = 0; attempt < 200 && !icon.Add(); ++attempt)
            Sleep(20);
        ++added;
    }
    if (iconsReady && added == helperIcons)
        SetEvent(iconsReady);
}

LRESULT CALLBACK SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA)
        return 1;
    if (message == taskbarCreated && taskbarCreated) {
        AddHelperIcons();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring ReadyEventName(DWORD processId) {
    return L"OrvaneBenchIcons" + std::to_wstring(processId);
}

} // namespace

Process StartHelper(int windows, int icons) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return Process::Start(L"\"" + std::wstring(exe) + L"\" --helper " + std::to_wstring(windows) +
                              L" " + std::to_wstring(icons),
                          L"");
}

int RunHelper(int windows, int icons) {
    helperIcons = icons;
    taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    iconsReady = CreateEventW(nullptr, TRUE, FALSE, ReadyEventName(GetCurrentProcessId()).c_str());
    WNDCLASSW wc{};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kSinkClass;
    RegisterClassW(&wc);
    // Top-level (not message-only), so that it hears "TaskbarCreated".
    CreateWindowExW(WS_EX_TOOLWINDOW, kSinkClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                    wc.hInstance, nullptr);
    for (int i = 0; i < windows; ++i) {
        std::wstring title = L"Bench window " + std::to_wstring(i + 1);
        HWND window = CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPED, -300, -300, 100,
                                      50, nullptr, nullptr, nullptr, nullptr);
        // Visible to the taskbar, never mapped on the display (docs/DEVELOPING.md).
        SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_VISIBLE);
    }
    AddHelperIcons();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

bool WaitForIcons(const Process& helper, DWORD timeoutMs) {
    HANDLE ready = nullptr;
    for (DWORD start = GetTickCount(); !ready && GetTickCount() - start < timeoutMs; Sleep(10))
        ready = OpenEventW(SYNCHRONIZE, FALSE, ReadyEventName(helper.Id()).c_str());
    if (!ready)
        return false;
    bool done = WaitForSingleObject(ready, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(ready);
    return done;
}

HWND WaitForSink(DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(10))
        if (HWND sink = FindWindowW(kSinkClass, nullptr))
            return sink;
    return nullptr;
}

double BareRoundTrip(HWND sink, size_t bytes, int rounds) {
    std::vector<uint8_t> block(bytes, 0);
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        COPYDATASTRUCT data{1, static_cast<DWORD>(block.size()), block.data()};
        double start = bench::MicrosecondsNow();
        SendMessageW(sink, WM_COPYDATA, reinterpret_cast<WPARAM>(IconOwner()),
                     reinterpret_cast<LPARAM>(&data));
        times.push_back(bench::MicrosecondsNow() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// ---- start menu and the shell's windows ---------------------------------

std::vector<std::string> MakeStartMenuEntries(int count) {
    wchar_t menu[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, 0, menu);
    std::vector<std::string> folders;
    for (int f = 0; f < count / 20; ++f) {
        std::wstring folder = std::wstring(menu) + L"\\Bench " + std::to_wstring(f);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int s = 0; s < 20; ++s) {
            std::wstring file = folder + L"\\Program " + std::to_wstring(s) + L".lnk";
            HANDLE h =
                CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
        }
        char narrow[MAX_PATH * 3] = {};
        WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, narrow, sizeof narrow, nullptr,
                            nullptr);
        folders.push_back(narrow);
    }
    return folders;
}

void RemoveMade(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        for (int s = 0; s < 20; ++s)
            DeleteFileW((Wide(folder) + L"\\Program " + std::to_wstring(s) + L".lnk").c_str());
        RemoveDirectoryW(Wide(folder).c_str());
    }
}

namespace {

int LeftOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.left;
}

bool WaitLeft(HWND panel, bool shown, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(5)) {
        RECT rect{};
        GetWindowRect(panel, &rect);
        if (shown ? rect.left == 0 : rect.right <= 0)
            return true;
    }
    return false;
}

bool Slide(const Process& shell, bool in) {
    auto bars = TopWindowsOf(shell.Id(), L"TfrmTaskbar");
    auto panels = TopWindowsOf(shell.Id(), L"TfrmStart");
    if (bars.empty() || panels.empty())
        return false;
    HWND start = ControlNamed(bars.front(), "bbStart");
    if (!start)
        return false;
    if ((LeftOf(panels.front()) == 0) == in &&
        (in || !IsWindowVisible(panels.front()) || WaitLeft(panels.front(), false, 0)))
        return true;
    PostMessageW(start, BM_CLICK, 0, 0);
    return WaitLeft(panels.front(), in, 10000);
}

std::string ItemText(HWND list, int index) {
    wchar_t text[256] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) >= 256)
        return {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    char narrow[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

} // namespace

bool ShowStartPanel(const Process& shell) {
    return Slide(shell, true);
}

bool HideStartPanel(const Process& shell) {
    return Slide(shell, false);
}

HWND OpenBrowserOnDrive(const Process& shell, const char* drive, DWORD timeoutMs) {
    auto panels = TopWindowsOf(shell.Id(), L"TfrmStart");
    if (panels.empty())
        return nullptr;
    HWND list = ControlNamed(panels.front(), "lbFiles");
    if (!list)
        return nullptr;
    int entry = -1;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && entry < 0; ++i)
        if (ItemText(list, i).rfind(drive, 0) == 0)
            entry = i;
    if (entry < 0)
        return nullptr;
    const auto before = TopWindowsOf(shell.Id(), L"TfrmFiles");
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, entry, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 30, (item.top + item.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
        for (HWND browser : TopWindowsOf(shell.Id(), L"TfrmFiles")) {
            if (std::find(before.begin(), before.end(), browser) != before.end())
                continue;
            // The caption comes with the listing.
            wchar_t title[64] = {};
            GetWindowTextW(browser, title, ARRAYSIZE(title));
            if (title[0])
                return browser;
        }
    }
    return nullptr;
}

} // namespace shellbench
