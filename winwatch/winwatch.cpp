// The shell hook library. The system loads this library into every
// process whose threads raise shell events, so everything here must be safe to
// run inside any program: no C++ runtime, no allocation, no waiting without a
// bound, nothing that can fault.
#include "winwatch/winwatch.h"

namespace {

// The name begins with "(" and ends with "}" on purpose: it is the contract.
const wchar_t kBlockName[] = L"(2E662583-74C4-45DB-B6DF-FE358C94258D}";

// The shared block, 8 bytes. Handles are stored by their 32-bit significant
// value (HWNDs and HHOOKs are 32-bit significant on Win64 too) and
// sign-extended when read back.
struct SharedBlock {
    LONG window; // offset 0: the window that receives WM_HOOKNOTIFY
    LONG hook;   // offset 4: the handle of the installed shell hook
};
static_assert(sizeof(SharedBlock) == 8, "the shared block is 8 bytes");

// How long the hook waits for the target window to handle one event.
const UINT kSendTimeoutMs = 3000;

// Process-local: this copy's instance, mapping and view (null when creating or
// mapping the block failed).
HINSTANCE g_instance = nullptr;
HANDLE g_mapping = nullptr;
volatile SharedBlock* g_block = nullptr;

HWND StoredWindow(volatile SharedBlock* block) {
    return static_cast<HWND>(LongToHandle(block->window));
}

HHOOK StoredHook(volatile SharedBlock* block) {
    return static_cast<HHOOK>(LongToHandle(block->hook));
}

void OpenBlock() {
    // An existing mapping of the name is opened; a new one is zero-filled.
    g_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                   sizeof(SharedBlock), kBlockName);
    if (!g_mapping)
        return;
    g_block = static_cast<volatile SharedBlock*>(
        MapViewOfFile(g_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
    if (!g_block) {
        CloseHandle(g_mapping);
        g_mapping = nullptr;
    }
}

void CloseBlock() {
    if (g_block)
        UnmapViewOfFile(const_cast<SharedBlock*>(g_block));
    g_block = nullptr;
    if (g_mapping)
        CloseHandle(g_mapping);
    g_mapping = nullptr;
}

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam) {
    volatile SharedBlock* block = g_block;
    if (block && (code == HSHELL_WINDOWCREATED || code == HSHELL_WINDOWDESTROYED ||
                  code == HSHELL_WINDOWACTIVATED || code == HSHELL_REDRAW)) {
        HWND target = StoredWindow(block);
        if (target) {
            // Not a plain SendMessage: that would block this program for as
            // long as the shell does not answer, i.e. forever behind a hung
            // shell. SendMessageTimeout stays synchronous (events reach a
            // responsive shell in order; the shell answers as it takes one
            // and handles it after), but gives up at once on a hung shell (SMTO_ABORTIFHUNG)
            // and after a few seconds on a slow one. A window that no longer
            // exists fails at once. The result is ignored.
            // A redraw whose flag is set is a window asking for attention.
            const int sent = code == HSHELL_REDRAW && lParam ? HSHELL_FLASH : code;
            DWORD_PTR result = 0;
            SendMessageTimeoutW(target, WM_HOOKNOTIFY, wParam, static_cast<LPARAM>(sent),
                                SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
        }
    }
    return CallNextHookEx(block ? StoredHook(block) : nullptr, code, wParam, lParam);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_instance = instance;
        OpenBlock();
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH:
        // The hook is not removed here: it belongs to the shell process, and
        // the platform drops it when that process ends.
        CloseBlock();
        break;
    default:
        break;
    }
    return TRUE;
}

WINWATCH_API BOOL WINAPI SetShellHook(HWND window) {
    volatile SharedBlock* block = g_block;
    if (!block)
        return 0;
    // A hook of an earlier call still installed: remove it, report failure and
    // install nothing (the block keeps the now stale handle).
    if (UnhookWindowsHookEx(StoredHook(block)))
        return 0;
    // The window is recorded before the hook exists, so every event sees it.
    block->window = HandleToLong(window);
    HHOOK hook = SetWindowsHookExW(WH_SHELL, ShellHookProc, g_instance, 0);
    block->hook = HandleToLong(hook);
    return hook ? -1 : 0;
}

WINWATCH_API BOOL WINAPI RemoveShellHook() {
    volatile SharedBlock* block = g_block;
    if (!block)
        return 0;
    // The recorded handle and window stay in the block.
    return UnhookWindowsHookEx(StoredHook(block));
}
