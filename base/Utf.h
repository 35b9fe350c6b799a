#pragma once
// Text inside the shell is UTF-8 in std::string; the platform is called
// through its wide (UTF-16) functions. These are the only conversions between
// the two: none goes through the ANSI code page, so a name in any script
// reaches the platform exactly as it was listed.
#include <string>
#include <string_view>

namespace orvane {

// UTF-8 to UTF-16. A byte that starts no valid sequence becomes U+FFFD.
std::wstring Wide(std::string_view utf8);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);
// A NUL-terminated wide text; a null pointer gives "".
std::string Utf8(const wchar_t* text);
// A fixed wide buffer of `units` units, up to its first NUL (another
// process's block, a structure's array): never read past `units`.
std::string Utf8Until(const wchar_t* text, size_t units);

// True when `bytes` are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). Pure ASCII is well-formed.
bool IsValidUtf8(std::string_view bytes);

} // namespace orvane
