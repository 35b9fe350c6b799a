#pragma once
// Starting a program by its command line, the way the logon programs and the
// shell's own helpers have always been started.
#include <string>

namespace orvane {

// Starts `commandLine` (a program path, quoted where it holds blanks, and its
// arguments) with `show` (SW_...) and waits up to 30 seconds for the program
// to become idle, so that programs started one after another come up in that
// order. False when the program cannot be started.
bool StartProgram(const std::string& commandLine, int show);
// The same without the wait: the program is left to come up on its own (the
// start panel's commands, explorer at the end of the run).
bool LaunchProgram(const std::string& commandLine, int show);

} // namespace orvane
