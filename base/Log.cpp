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

std::string Banner() {
    return "   *** Orvane Shell log - " + LocaleText(true) + " ***";
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

const std::vector<std::string>& TLog::MarkerTexts() {
    static const std::vector<std::string> texts = {"Program start",
                                                   "Begin of first main panel showing",
                                                   "Main panel is shown first time", "Work end"};
    return texts;
}

TLog::TLog(std::string fileName, unsigned long long rotateAt)
    : fileName_(std::move(fileName)), rotateAt_(rotateAt) {
    // The banner item ends with its own line break, so an empty line follows it.
    WriteLogLines(fileName_, {Banner(), ""});
}

void TLog::Add(const std::string& text) {
    Append(LocaleText(false) + " " + text);
}

void TLog::AddOnce(const std::string& text) {
    for (const auto& known : known_)
        if (known == text)
            return;
    if (JoinLines(ReadLogLines(fileName_)).find(text) == std::string::npos)
        Append(LocaleText(false) + " " + text);
    // Present from here on: a rotation carries the marker lines over, and a
    // repeated call (every press of the start button) need not read the file.
    known_.push_back(text);
}

void TLog::AppendToLast(const std::string& text) {
    auto lines = ReadLogLines(fileName_);
    if (lines.empty())
        lines.emplace_back();
    lines.back() += "... " + text;
    WriteLogLines(fileName_, lines);
}

// One line added at the end, without reading the file: a long run's log costs
// the same per line at its end as at its start.
void TLog::Append(const std::string& line) {
    for (int attempt = 0;; ++attempt) {
        UniqueFileHandle file(CreateFileW(Wide(fileName_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            ThrowLastError("");
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size))
            ThrowLastError("");
        const auto bytes = static_cast<unsigned long long>(size.QuadPart);
        if (attempt == 0 && bytes + line.size() + 2 > rotateAt_) {
            file.reset();
            Rotate();
            continue;
        }
        // A file whose last line has no line break (edited by hand) gets one,
        // so the new line stands on its own.
        std::string text = line + "\r\n";
        if (bytes > 0) {
            LARGE_INTEGER last{};
            last.QuadPart = size.QuadPart - 1;
            char tail = '\n';
            DWORD got = 0;
            if (!SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN) ||
                !ReadFile(file.get(), &tail, 1, &got, nullptr))
                ThrowLastError("");
            if (got == 1 && tail != '\n' && tail != '\r')
                text.insert(0, "\r\n");
        }
        LARGE_INTEGER zero{};
        DWORD written = 0;
        if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_END) ||
            !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) ||
            written != text.size())
            ThrowLastError("");
        return;
    }
}

// The full log goes to RotatedName() (replacing an earlier one) and a new log
// begins with the banner and the first line of each marker text found, so the
// next start judges this run exactly as it would have without the rotation.
void TLog::Rotate() {
    const auto lines = ReadLogLines(fileName_);
    std::vector<std::string> kept = {Banner(), ""};
    for (const auto& marker : MarkerTexts())
        for (const auto& line : lines)
            if (line.find(marker) != std::string::npos) {
                kept.push_back(line);
                break;
            }
    kept.push_back(LocaleText(false) + " Log continued; earlier lines in " +
                   BaseName(RotatedName()));
    const std::string next = fileName_ + ".new";
    WriteLogLines(next, kept);
    const std::wstring log = Wide(fileName_), rotated = Wide(RotatedName()), fresh = Wide(next);
    if (!MoveFileExW(log.c_str(), rotated.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DWORD error = GetLastError();
        DeleteFileW(fresh.c_str());
        SetLastError(error);
        ThrowLastError("");
    }
    if (!MoveFileExW(fresh.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        // The whole log back in its place rather than none at all.
        DWORD error = GetLastError();
        MoveFileExW(rotated.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING);
        DeleteFileW(fresh.c_str());
        SetLastError(error);
        ThrowLastError("");
    }
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
