#pragma once
// Failures are exceptions carrying a message; handlers log "Name: " + message.
#include <stdexcept>
#include <string>
#include <windows.h>

namespace orvane {

class ShellError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The platform's text for a Win32 error code (no trailing line break).
std::string SystemErrorText(DWORD code);

// Raises a ShellError with the platform's text for the calling thread's last error.
[[noreturn]] void ThrowLastError(const std::string& context);

} // namespace orvane
