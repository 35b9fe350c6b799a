#pragma once
// The system's own initialisation files (win.ini, System.ini). They belong to
// the platform, which may map their keys to the registry, so they are read and
// written only through its profile functions, never by the shell's parser.
#include <string>
#include <utility>

namespace orvane {

class PlatformIniFile {
  public:
    explicit PlatformIniFile(std::string path) : path_(std::move(path)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // A refused write raises ShellError "Unable to write to <path>".
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;

  private:
    std::string path_;
};

} // namespace orvane
