#pragma once
// The shell hook library: a system-wide WH_SHELL hook that forwards window
// events to one window of the shell as WM_HOOKNOTIFY.
#include <windows.h>

// wParam: the top-level window concerned; lParam: 1 created, 2 destroyed,
// 4 activated, 6 redraw (title changed).
#define WM_HOOKNOTIFY (WM_USER + 100)

#ifdef WINWATCH_BUILD
#define WINWATCH_API extern "C" __declspec(dllexport)
#else
#define WINWATCH_API extern "C" __declspec(dllimport)
#endif

// Installs the hook for `window`. -1 when installed; 0 when this process has
// no view of the shared block, when a hook recorded earlier was still in place
// (it is removed, nothing is installed), or when installing failed.
WINWATCH_API BOOL WINAPI SetShellHook(HWND window);

// Removes the recorded hook: the platform's result (0 when there was none).
WINWATCH_API BOOL WINAPI RemoveShellHook();
