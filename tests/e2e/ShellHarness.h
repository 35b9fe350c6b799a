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

bool IsProcessRunning(const std::string& exeName);
// Starts a program that opens a plain top-level window (the desktop process
// comes up with the first GUI program); ended with the returned object.
ChildProcess StartWindowHelper(const std::string& title);

} // namespace orvane::test
