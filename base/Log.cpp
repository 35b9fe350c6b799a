#include "base/Log.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <windows.h>

namespace orvane {

namespace {

TLog* currentLog = nullptr;

std::string LocaleText(bool date) {
    wchar_t buffer[128] = {};
    int n =
        date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer,
                              ARRAYSIZE(buffer))
             : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, ARRAYSIZE(buffer));
    return n > 0 ? Utf8(buffer) : std::string();
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

} // namespace

std::vector<std::string> ReadLogLines(const std::string& fileName) {
    UniqueFileHandle file(CreateFileW(Wide(fileName).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowLastError("");
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    for (;;) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            ThrowLastError("");
        if (got == 0)
            break;
        text.append(buffer, got);
    }
    // Lines end with CR LF, LF or a lone CR; a final line break opens no new line.
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

void WriteLogLines(const std::string& fileName, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    UniqueFileHandle file(CreateFileW(Wide(fileName).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowLastError("");
    DWORD written = 0;
    if (!WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        ThrowLastError("");
}

TLog::TLog(std::string fileName) : fileName_(std::move(fileName)) {
    // The banner item ends with its own line break, so an empty line follows it.
    WriteLogLines(fileName_, {"   *** Orvane Shell log - " + LocaleText(true) + " ***", ""});
}

void TLog::Add(const std::string& text) {
    auto lines = ReadLogLines(fileName_);
    lines.push_back(LocaleText(false) + " " + text);
    WriteLogLines(fileName_, lines);
}

void TLog::AddOnce(const std::string& text) {
    auto lines = ReadLogLines(fileName_);
    if (JoinLines(lines).find(text) != std::string::npos)
        return;
    lines.push_back(LocaleText(false) + " " + text);
    WriteLogLines(fileName_, lines);
}

void TLog::AppendToLast(const std::string& text) {
    auto lines = ReadLogLines(fileName_);
    if (lines.empty())
        lines.emplace_back();
    lines.back() += "... " + text;
    WriteLogLines(fileName_, lines);
}

bool TLog::Contains(const std::string& fileName, const std::string& text) {
    return JoinLines(ReadLogLines(fileName)).find(text) != std::string::npos;
}

TLog* ShellLog() {
    return currentLog;
}
void SetShellLog(TLog* log) {
    currentLog = log;
}

void LogFailure(const std::string& where, const std::string& message) {
    if (!currentLog)
        return;
    try {
        currentLog->Add(where + ": " + message);
    } catch (...) {
        // A log that cannot be written has nowhere else to report to.
    }
}

} // namespace orvane
