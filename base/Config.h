#pragma once
// The program folder and the configuration file beside the executable.
// Nothing is cached: every call locates the executable and opens the file anew.
#include "base/IniText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

std::string ExecutablePath(); // the running program's file
std::string ProgramFolder();  // its folder, without a trailing backslash
std::string ConfigFilePath(); // the executable's path with ".ini"
std::string LogFilePath();    // the executable's path with ".log"
// The Windows folder, home of win.ini and System.ini.
std::string WindowsFolderPath();

// `path` with its extension (if any) replaced by `extension` (".ini").
std::string ReplaceExtension(const std::string& path, const std::string& extension);
// The folder part of `path` with its closing separator ("C:\\A\\b.lnk" gives
// "C:\\A\\", "C:\\b.lnk" gives "C:\\"); empty when the path names no folder.
std::string FolderOf(const std::string& path);
// `path`'s extension with its dot, in lower case (".jpg"); empty when none.
std::string LowerExtension(const std::string& path);

// Integer syntax of the configuration file: blanks, optional sign, then decimal
// digits or hexadecimal digits behind "$", "x", "X", "0x" or "0X"; 32-bit range.
std::optional<int32_t> ParseIniInteger(std::string_view text);

// One file in the profile format, read and written by the shell itself so that
// its text keeps every script (base/TextFile.h says how its encoding is
// decided). Every call reads the file anew; a write replaces it in one step.
class IniFile {
  public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}
    // The shell's configuration file.
    static IniFile Config() { return IniFile(ConfigFilePath()); }

    const std::string& path() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;
    // Key=Value pairs of a section in file order.
    IniPairs ReadSection(const std::string& section) const;
    // The same pairs from one read of the file, for sections of hundreds of
    // keys. Values come as the file holds them: surrounding quotes stay.
    IniPairs ReadSectionAtOnce(const std::string& section) const;

    // A refused write raises ShellError "Unable to write to <path>".
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;
    void WriteInteger(const std::string& section, const std::string& key, int32_t value) const;
    void EraseSection(const std::string& section) const;
    // Sets each of `pairs` as WriteString does, all in one write.
    void WriteStrings(const std::string& section, const IniPairs& pairs) const;
    // Replaces the section's keys by `pairs` in one write.
    void WriteSection(const std::string& section, const IniPairs& pairs) const;

  private:
    // Reads the file, applies `change` and writes it back; ShellError
    // "Unable to write to <path>" when either step fails.
    void Edit(const std::function<void(IniText&)>& change) const;
    std::string path_;
};

} // namespace orvane
