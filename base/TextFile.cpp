#include "base/TextFile.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <windows.h>

namespace orvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
// Windows-1252: Western European, the code page of the shipped German file
// before it was UTF-8.
constexpr unsigned kWesternCodePage = 1252;

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring wide(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        wide[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Utf8(wide);
}

std::string ToUtf16(std::string_view text, bool bigEndian) {
    const std::wstring wide = Wide(text);
    std::string bytes;
    bytes.reserve(wide.size() * 2);
    for (wchar_t unit : wide) {
        const auto high = static_cast<char>((unit >> 8) & 0xFF);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

std::string FromCodePage(std::string_view bytes, unsigned codePage) {
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units);
    return Utf8(wide);
}

// The text in `codePage`, or nothing when a character has no place there
// (no best-fit stand-ins: "Ω" must not become "O").
std::optional<std::string> ToCodePage(std::string_view text, unsigned codePage) {
    const std::wstring wide = Wide(text);
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                          nullptr, 0, nullptr, &lost);
    if (bytes <= 0 || lost)
        return std::nullopt;
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, result.data(), bytes,
                        nullptr, &lost);
    if (lost)
        return std::nullopt;
    return result;
}

} // namespace

unsigned SingleByteCodePage() {
    const unsigned system = GetACP();
    CPINFO info{};
    // A system whose ANSI code page is UTF-8 or a double-byte one wrote no
    // single-byte files of its own: read such files as Western European.
    if (system == CP_UTF8 || !GetCPInfo(system, &info) || info.MaxCharSize != 1)
        return kWesternCodePage;
    return system;
}

TDecodedText DecodeText(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Mark))
        return {std::string(bytes.substr(kUtf8Mark.size())), TextEncoding::Utf8WithMark, 0};
    if (StartsWith(bytes, kUtf16LeMark))
        return {FromUtf16(bytes.substr(kUtf16LeMark.size()), false), TextEncoding::Utf16Le, 0};
    if (StartsWith(bytes, kUtf16BeMark))
        return {FromUtf16(bytes.substr(kUtf16BeMark.size()), true), TextEncoding::Utf16Be, 0};
    if (IsValidUtf8(bytes))
        return {std::string(bytes), TextEncoding::Utf8, 0};
    const unsigned codePage = SingleByteCodePage();
    return {FromCodePage(bytes, codePage), TextEncoding::SingleByte, codePage};
}

std::string EncodeText(std::string_view text, TextEncoding& encoding, unsigned codePage) {
    switch (encoding) {
    case TextEncoding::Utf8WithMark:
        return std::string(kUtf8Mark) + std::string(text);
    case TextEncoding::Utf16Le:
        return std::string(kUtf16LeMark) + ToUtf16(text, false);
    case TextEncoding::Utf16Be:
        return std::string(kUtf16BeMark) + ToUtf16(text, true);
    case TextEncoding::SingleByte:
        if (auto bytes = ToCodePage(text, codePage))
            return *bytes;
        encoding = TextEncoding::Utf8;
        return std::string(text);
    case TextEncoding::Utf8:
        break;
    }
    return std::string(text);
}

std::optional<std::string> ReadFileBytes(const std::string& path, size_t limit) {
    UniqueFileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        SetLastError(error);
        ThrowLastError("Cannot read " + path);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        ThrowLastError("Cannot read " + path);
    if (static_cast<unsigned long long>(size.QuadPart) > limit)
        throw ShellError("Cannot read " + path + ": the file is larger than " +
                         std::to_string(limit) + " bytes");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &got, nullptr))
            ThrowLastError("Cannot read " + path);
        if (got == 0)
            break; // the file got shorter meanwhile
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void ReplaceFileBytes(const std::string& path, std::string_view bytes) {
    const std::wstring target = Wide(path);
    const std::wstring scratch = target + L".new" + std::to_wstring(GetCurrentProcessId());
    {
        UniqueFileHandle file(CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            ThrowLastError("Cannot write " + path);
        DWORD written = 0;
        const bool wrote = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                     &written, nullptr) &&
                           written == bytes.size() && FlushFileBuffers(file.get());
        if (!wrote) {
            const DWORD error = GetLastError();
            file.reset();
            DeleteFileW(scratch.c_str());
            SetLastError(error);
            ThrowLastError("Cannot write " + path);
        }
    }
    // A read-only or locked file refuses to be replaced, as it refuses a write.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        DeleteFileW(scratch.c_str());
        SetLastError(ERROR_ACCESS_DENIED);
        ThrowLastError("Cannot write " + path);
    }
    if (!MoveFileExW(scratch.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(scratch.c_str());
        SetLastError(error);
        ThrowLastError("Cannot write " + path);
    }
}

} // namespace orvane
