#pragma once
// Which windows get a task button, and their titles.
#include <windows.h>

#include <string>

namespace orvane {

// A window stores this as its user data to stay off the taskbar.
constexpr LONG kNoTaskButtonMark = 0x7FFFFFFF;

// True for visible, unowned (or app-window owned) top-level windows that are
// neither tool windows nor MDI children.
bool IsTaskWindow(HWND window);

// The window's title as stored, read without sending the window a message;
// "" when it has none. A title beyond 32767 UTF-16 units is cut there, at a
// character boundary.
std::string WindowTitle(HWND window);

// The window's title, or "???" when it is empty.
std::string GetWindowCaption(HWND window);

} // namespace orvane
