#pragma once
// Starts the real shell from a scratch copy of the installed program folder.
#include "tests/support/TestSupport.h"

#include <string>

namespace orvane::test {

class ShellInstall {
  public:
    // A copy of the program folder; the executable is renamed to `exeName`.
    explicit ShellInstall(const std::string& exeName = "Orvane_Shell.exe");

    std::string ExePath() const { return dir_ / exeName_; }
    std::string LogPath() const;
    std::string IniPath() const;
    const std::string& Folder() const { return dir_.path(); }

    ChildProcess Start() const;

  private:
    ScratchDir dir_;
    std::string exeName_;
};

// The first top-level window of the given class that belongs to the process.
HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs);
// Asks the shell's main window to close and waits for the process to end.
bool CloseShell(ChildProcess& shell, HWND mainWindow, DWORD timeoutMs = 10000);

// A started shell whose start has run to its end (the bar is placed).
struct StartedShell {
    ChildProcess process;
    HWND main = nullptr;
    std::vector<std::string> log;
};
StartedShell StartShell(const ShellInstall& install);
bool HasLineEndingWith(const std::vector<std::string>& lines, const std::string& end);

// The shell's control of that component name below `root`, or null.
HWND FindControl(HWND root, const char* componentName);

// A window's text as another program reads it (WM_GETTEXT), in UTF-8.
std::string ControlText(HWND window);

// A task button as another program sees it.
struct TaskButtonView {
    HWND handle;
    std::string caption;
    bool down;
    RECT bounds; // in screen coordinates
};
std::vector<TaskButtonView> TaskButtonsOf(HWND taskbar);
// The caption of the one task button that is down, or "" when none is.
std::string DownCaption(HWND taskbar);
// The child windows of `parent` (the icons of the notification panel).
std::vector<HWND> ChildWindows(HWND parent);

// The message box of a process with that title, or null.
HWND FindMessageBox(DWORD processId, const std::string& title);
// The text of a message box (its static text).
std::string MessageBoxText(HWND box);

bool IsProcessRunning(const std::string& exeName);
// Makes sure explorer.exe runs, as it does before the shell takes over;
// `helper` keeps the program that brought it up.
void EnsureExplorerRunning(ChildProcess& helper);
// Ends explorer.exe, as at a logon with the shell as the logon shell.
void EnsureExplorerEnded();
// Starts a program that opens a plain top-level window (the desktop process
// comes up with the first GUI program); ended with the returned object.
ChildProcess StartWindowHelper(const std::string& title);
// Waits until a window of the process is the foreground window.
bool WaitForForeground(DWORD processId, DWORD timeoutMs);

} // namespace orvane::test
