#include "base/ShellError.h"

#include "base/Utf.h"

namespace orvane {

std::string SystemErrorText(DWORD code) {
    wchar_t buffer[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, ARRAYSIZE(buffer), nullptr);
    std::string text = Utf8(std::wstring_view(buffer, length));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "System error " + std::to_string(code);
    return text;
}

void ThrowLastError(const std::string& context) {
    DWORD code = GetLastError();
    throw ShellError(context.empty() ? SystemErrorText(code)
                                     : context + ": " + SystemErrorText(code));
}

} // namespace orvane
