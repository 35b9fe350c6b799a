#pragma once
// The steps of the shell's run that change the system: at the start the
// caption colours, the hiding of minimised windows, the screen work area,
// maximised windows; at the end to explorer the colours and the work area put
// back from what the start recorded in the configuration file.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The shell's own caption colours, set when it replaces a running explorer.
constexpr COLORREF kActiveTitleColor = RGB(160, 204, 11);
constexpr COLORREF kGradientActiveTitleColor = RGB(143, 159, 51);
// Pixels the taskbar takes from the bottom of the work area.
constexpr int kTaskbarReserve = 26;

// The previous run neither left the shell properly nor showed the start panel.
bool LastRunWasUnclean(const std::string& logPath);
// Saves the active caption colours to [WinSettings], sets the shell's own and
// records them under HKEY_CURRENT_USER\Control Panel\Colors.
void RecolorCaptions();
// The way back: puts back the caption colours that RecolorCaptions saved, in
// the system and under HKEY_CURRENT_USER\Control Panel\Colors. Colours that
// were never saved (a run started at logon) stay as they are.
void RestoreCaptionColors();
// Minimised windows leave no icon on the desktop.
void HideMinimizedWindows();
// Saves the work area to [WinSettings] and takes the bottom of the screen.
void TakeWorkArea();
// The room the taskbar takes from the work area: the bottom of the primary
// monitor (screen coordinates).
RECT TaskbarRoom();
// The way back: the work area that TakeWorkArea saved (the whole screen when
// none was saved).
void RestoreWorkArea();
// Windows shown maximised are fitted to the screen above the taskbar.
void FitMaximizedWindows(const std::vector<HWND>& windows);
// The user's Quick Launch folder; nothing when the shell folders key is missing.
std::optional<std::string> QuickLaunchFolder();

} // namespace orvane
