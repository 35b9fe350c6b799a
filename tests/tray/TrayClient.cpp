// tray_client: plays a program that puts icons into the notification area.
//
// Usage: tray_client [--out FILE] [--wine] STEP...
//   --out FILE            write the result lines to FILE (default: standard output)
//   --wine                send requests through the system's Shell_NotifyIconW instead
//                         of the hand-built block (under Wine: Wine's own layout)
// Steps, run in order:
//   add ID TIP [CALLBACK] NIM_ADD: an icon, the tip, callback message (default 0x8001)
//   modify ID FLAGS TIP   NIM_MODIFY with the given NIF_ flags (1 message, 2 icon, 4 tip)
//   delete ID             NIM_DELETE
//   callbacks N MS        wait up to MS ms until N callback messages have arrived
//   created MS            wait up to MS ms for the "TaskbarCreated" broadcast
//   sleep MS              handle messages for MS ms
// Each request prints "reply <step> <id> <value>", each callback message
// "callback <id> <mouse message>", "TaskbarCreated" prints "created"; a wait
// that runs out prints "timeout <step>". The owner window is a hidden window of
// this process; "owner <handle>" is printed first. Exit code: 0 when every wait
// was satisfied, 1 on a time-out, 2 when no "Shell_TrayWnd" window exists,
// 3 on bad arguments. Ids and numbers may be decimal or 0x-hexadecimal.
#include <windows.h>
#include <shellapi.h>

#include "tests/tray/TrayBlocks.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kDefaultCallback = WM_APP + 1;

FILE* out = stdout;
HWND owner = nullptr;
UINT taskbarCreated = 0;
int callbacksSeen = 0;
bool createdSeen = false;
bool useShell = false;
HICON icon = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated) {
        createdSeen = true;
        std::fprintf(out, "created\n");
        return 0;
    }
    if (message >= WM_APP) {
        ++callbacksSeen;
        std::fprintf(out, "callback %lu %ld\n", static_cast<unsigned long>(wParam),
                     static_cast<long>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

uint32_t Number(const char* text) {
    return static_cast<uint32_t>(std::strtoul(text, nullptr, 0));
}

void Pump(DWORD ms, bool (*done)()) {
    DWORD start = GetTickCount();
    while (!(done && done()) && GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

LRESULT SendBlock(HWND tray, uint32_t command, uint32_t id, uint32_t flags, uint32_t callback,
                  const std::wstring& tip) {
    auto block = traytest::PlatformBlock(command, owner, id, flags, callback, icon, tip);
    COPYDATASTRUCT data{1, static_cast<DWORD>(block.size()), block.data()};
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(tray, WM_COPYDATA, reinterpret_cast<WPARAM>(owner),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &reply);
    return static_cast<LRESULT>(reply);
}

LRESULT Request(uint32_t command, uint32_t id, uint32_t flags, uint32_t callback,
                const std::wstring& tip) {
    if (useShell) {
        NOTIFYICONDATAW nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = owner;
        nid.uID = id;
        nid.uFlags = flags;
        nid.uCallbackMessage = callback;
        nid.hIcon = icon;
        lstrcpynW(nid.szTip, tip.c_str(), 128);
        return Shell_NotifyIconW(command, &nid);
    }
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    return tray ? SendBlock(tray, command, id, flags, callback, tip) : 0;
}

void Reply(const char* step, uint32_t id, LRESULT reply) {
    std::fprintf(out, "reply %s %lu %ld\n", step, static_cast<unsigned long>(id),
                 static_cast<long>(reply));
}

std::wstring Wide(const char* text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units > 0 ? units : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t at = 0;
    for (; at < args.size() && args[at].rfind("--", 0) == 0; ++at) {
        if (args[at] == "--out" && at + 1 < args.size()) {
            out = std::fopen(args[++at].c_str(), "wb");
            if (!out)
                return 3;
        } else if (args[at] == "--wine") {
            useShell = true;
        } else {
            return 3;
        }
    }
    std::setvbuf(out, nullptr, _IONBF, 0);
    taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvaneTrayClient";
    RegisterClassW(&wc);
    owner = CreateWindowExW(0, wc.lpszClassName, L"tray client", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, wc.hInstance, nullptr);
    icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION));
    std::fprintf(out, "owner %lu\n",
                 static_cast<unsigned long>(reinterpret_cast<uintptr_t>(owner)));
    if (!useShell && !FindWindowW(L"Shell_TrayWnd", nullptr)) {
        std::fprintf(out, "no tray\n");
        return 2;
    }

    int result = 0;
    auto need = [&](size_t count) {
        if (at + count > args.size()) {
            std::fprintf(out, "missing arguments for %s\n", args[at - 1].c_str());
            std::exit(3);
        }
    };
    while (at < args.size()) {
        std::string step = args[at++];
        if (step == "add") {
            need(2);
            uint32_t id = Number(args[at].c_str());
            std::wstring tip = Wide(args[at + 1].c_str());
            at += 2;
            uint32_t callback = kDefaultCallback;
            if (at < args.size() && std::isdigit(static_cast<unsigned char>(args[at][0])))
                callback = Number(args[at++].c_str());
            Reply("add", id, Request(NIM_ADD, id, NIF_ICON | NIF_TIP | NIF_MESSAGE, callback, tip));
        } else if (step == "modify") {
            need(3);
            uint32_t id = Number(args[at].c_str()), flags = Number(args[at + 1].c_str());
            std::wstring tip = Wide(args[at + 2].c_str());
            at += 3;
            Reply("modify", id, Request(NIM_MODIFY, id, flags, kDefaultCallback, tip));
        } else if (step == "delete") {
            need(1);
            uint32_t id = Number(args[at++].c_str());
            Reply("delete", id, Request(NIM_DELETE, id, 0, 0, L""));
        } else if (step == "callbacks") {
            need(2);
            static int wanted;
            wanted = static_cast<int>(Number(args[at].c_str()));
            DWORD ms = Number(args[at + 1].c_str());
            at += 2;
            Pump(ms, [] { return callbacksSeen >= wanted; });
            if (callbacksSeen < wanted) {
                std::fprintf(out, "timeout callbacks\n");
                result = 1;
            }
        } else if (step == "created") {
            need(1);
            DWORD ms = Number(args[at++].c_str());
            Pump(ms, [] { return createdSeen; });
            if (!createdSeen) {
                std::fprintf(out, "timeout created\n");
                result = 1;
            }
        } else if (step == "sleep") {
            need(1);
            Pump(Number(args[at++].c_str()), nullptr);
        } else {
            std::fprintf(out, "unknown step %s\n", step.c_str());
            return 3;
        }
    }
    std::fprintf(out, "end\n");
    if (out != stdout)
        std::fclose(out);
    DestroyWindow(owner);
    return result;
}
