#pragma once
// The program file behind a window, for the task buttons' icons.
#include <windows.h>

#include <string>

namespace orvane {

// The process list's executable entry for the window's process, lower-cased:
// a full path on the Windows 9x family, only the file name on the NT family.
// Empty on any failure.
std::string GetProcessExeName(HWND window);

// Full path of the main module of the window's process, lower-cased; empty on
// any failure (including a process this one may not inspect).
std::string GetProcessModulePath(HWND window);

} // namespace orvane
