#pragma once
// Text files the shell reads and writes itself (its configuration file, the
// language files): their bytes, and how those bytes are decided to encode
// text.
//
// A file is decoded as
//   1. UTF-8 when it starts with the UTF-8 byte-order mark,
//   2. UTF-16 (little or big endian) when it starts with that byte-order mark,
//   3. UTF-8 when its bytes are well-formed UTF-8 (plain ASCII included),
//   4. otherwise the single-byte code page the platform used for ANSI text
//      (the system's ANSI code page; 1252 where that is UTF-8 itself), the
//      encoding in which earlier versions of the shell wrote their files.
// Writing keeps the encoding the file was read in. A single-byte file takes a
// change only when every character of the new text exists in its code page;
// otherwise the whole file is written anew as UTF-8, every line converted, so
// no character is ever replaced by "?".
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

enum class TextEncoding { Utf8, Utf8WithMark, Utf16Le, Utf16Be, SingleByte };

struct TDecodedText {
    std::string text; // UTF-8
    TextEncoding encoding = TextEncoding::Utf8;
    unsigned codePage = 0; // for SingleByte
};

TDecodedText DecodeText(std::string_view bytes);
// `text` (UTF-8) as bytes in `encoding`; a SingleByte encoding that cannot hold
// every character becomes Utf8.
std::string EncodeText(std::string_view text, TextEncoding& encoding, unsigned codePage);

// The code page of files from before the shell spoke UTF-8.
unsigned SingleByteCodePage();

// The whole file, or nothing when it does not exist. Raises ShellError when it
// exists but cannot be read (locked, no access) or is larger than `limit`.
std::optional<std::string> ReadFileBytes(const std::string& path, size_t limit);
// Replaces the file's content in one step: the bytes go to a new file beside
// it, which then takes its place, so a failure half-way leaves the old file
// whole. Raises ShellError with the platform's text when it cannot.
void ReplaceFileBytes(const std::string& path, std::string_view bytes);

} // namespace orvane
