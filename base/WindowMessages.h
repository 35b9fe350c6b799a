#pragma once
// The program's own window messages, all in one place so that no two parts
// take the same number. Window messages the system defines are not listed.
//
// WM_USER + 100 (0x464) is taken by WM_HOOKNOTIFY, which the shell hook
// library sends to the taskbar from every process that raises a shell event.
// Other programs build against that library's header (winwatch/winwatch.h), so
// the message is defined there and nowhere else.
#include <windows.h>

namespace orvane {

// Posted to the main form's window (the taskbar) by a form that has closed and
// must be destroyed once its own close handling has returned; lParam is the
// form. Its number is fixed: other tools post it too. TForm::Release posts
// it, every form frees the form it names (toolkit/Form.cpp).
constexpr UINT WM_RELEASEFORM = WM_USER + 101;

// The desktop's messages to its own window.
// A folder watcher saw a change in one of the desktop folders.
constexpr UINT WM_DESKTOPFOLDERCHANGED = WM_APP + 11;
// A change raised the desktop after all: it goes back to the bottom.
constexpr UINT WM_DESKTOPTOBOTTOM = WM_APP + 12;
// Links wait for their shortcuts to be read: the next batch.
constexpr UINT WM_DESKTOPRESOLVELINKS = WM_APP + 13;
// The Delete key watch saw a key (desktop/LinkKeys.h).
constexpr UINT WM_DESKTOPLINKKEY = WM_APP + 14;
// A folder watcher stopped or watches again (desktop/FolderWatcher.h):
// wParam the watcher and the report, lParam the error.
constexpr UINT WM_DESKTOPFOLDERWATCH = WM_APP + 15;

// The icon lookup's messages to its own window (system/IconLookup.cpp).
// Results of the workers wait to be handed out.
constexpr UINT WM_ICONSARRIVED = WM_APP + 0x1C0;
// Lookups wait to go to the workers.
constexpr UINT WM_ICONSASKED = WM_APP + 0x1C1;

} // namespace orvane
