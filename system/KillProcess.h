#pragma once
// Ending every running process of one program, as the shell does with a
// running explorer.exe before it takes over.
#include <string>

namespace orvane {

// True when `name` names the program of a process-list entry whose executable
// field is `exeField`: equal, ASCII letters compared as upper case, to the
// field's file-name part (NT lists names) or to the whole field (9x lists paths).
bool ProcessNameMatches(const std::string& name, const std::string& exeField);

// Terminates, with exit code 1, every process whose program is `name`, except the
// calling process itself. The result tells whether the termination of the last
// matching process succeeded; false when the process list is unavailable or
// nothing matches.
bool KillProcessByName(const std::string& name);

} // namespace orvane
