#pragma once
// The shell hook library: a system-wide WH_SHELL hook that forwards
// window events to one window of the shell (the taskbar) as WM_HOOKNOTIFY.
// The target window and the hook handle live in the named shared block
// "(2E662583-74C4-45DB-B6DF-FE358C94258D}" (8 bytes: offset 0 the window,
// offset 4 the hook, each as its 32-bit significant value), which every copy
// of the library maps at load.
#include <windows.h>

// Sent synchronously to the target window, from the thread that raised the
// event. wParam: the top-level window concerned; lParam: the shell hook code,
// 1 created, 2 destroyed, 4 activated, 6 redraw (title changed), or
// HSHELL_FLASH (0x8006) for a redraw whose flag says the window flashes. No
// other code is forwarded. The result is ignored. A target that does not answer within a
// few seconds, or that is hung, loses the event.
#define WM_HOOKNOTIFY (WM_USER + 100)

#ifdef WINWATCH_BUILD
#define WINWATCH_API extern "C" __declspec(dllexport)
#else
#define WINWATCH_API extern "C" __declspec(dllimport)
#endif

// Exported by these undecorated names, stdcall in the 32-bit build.

// Installs the hook for `window`. -1 (all bits set) when installed; 0 when this
// process has no view of the shared block, when a hook recorded earlier was
// still in place (it is removed, nothing is installed, the block keeps the
// stale handle), or when installing failed (a zero handle is recorded).
WINWATCH_API BOOL WINAPI SetShellHook(HWND window);

// Removes the recorded hook: the platform's result (0 when there was none).
// The recorded window and hook handle stay in the block.
WINWATCH_API BOOL WINAPI RemoveShellHook();
