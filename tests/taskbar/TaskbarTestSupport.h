#pragma once
// Shown top-level windows of this process for the task buttons to stand for.
// Hiding or destroying a shown window is slow under Wine, so a pool is made
// once and shared by every test.
#include <windows.h>

#include <string>

namespace taskbartest {

// The i-th window of the pool (0 to 7), shown, restored and titled `title`.
HWND PoolWindow(int index, const std::string& title);
// A new shown window that the caller destroys (slowly).
HWND NewShownWindow(const std::string& title);
HWND NewHiddenWindow(const std::string& title);

} // namespace taskbartest
