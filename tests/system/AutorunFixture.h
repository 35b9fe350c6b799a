#pragma once
// What the autorun and default-shell tests share: recorder programs whose
// starts are logged in order, the runner that performs the shell's steps in a
// process of its own, and guards that put back registry, ini and file changes.
#include "tests/support/TestSupport.h"

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

// A scratch folder with the recorder in it; every recorder started from it
// appends to the same records file.
class RecorderFolder {
  public:
    RecorderFolder();
    const std::string& path() const { return dir_.path(); }
    // A command line that records `tag`.
    std::string Command(const std::string& tag) const;
    // A copy of the recorder named `<name>.exe`, which records `name` when
    // started without arguments; its full path.
    std::string CopyAs(const std::string& name) const;
    // The recorded tags in order of process creation.
    std::vector<std::string> Tags() const;
    // Waits until `count` records exist, then a little longer so that
    // unexpected starts show too. Returns the tags as Tags().
    std::vector<std::string> WaitForTags(size_t count) const;
    std::string RecorderPath() const { return dir_ / "autorun_recorder.exe"; }

  private:
    ScratchDir dir_;
};

// Runs autorun_runner.exe with `arguments`; its exit code (the platform code on
// success), or nothing when it did not end in time.
std::optional<DWORD> RunRunner(const std::string& arguments);

std::string SpecialFolder(int csidl);

// Sets a string value for one scope, then restores the previous value or removes it.
class ScopedRegValue {
  public:
    ScopedRegValue(HKEY root, std::string key, std::string name, const std::string& value);
    ScopedRegValue(const ScopedRegValue&) = delete;
    ScopedRegValue& operator=(const ScopedRegValue&) = delete;
    ~ScopedRegValue();

  private:
    HKEY root_;
    std::string key_, name_;
    std::optional<std::string> previous_;
};

// The same for a key of an initialisation file.
class ScopedIniValue {
  public:
    ScopedIniValue(std::string file, std::string section, std::string key,
                   const std::optional<std::string>& value);
    ScopedIniValue(const ScopedIniValue&) = delete;
    ScopedIniValue& operator=(const ScopedIniValue&) = delete;
    ~ScopedIniValue();

  private:
    std::string file_, section_, key_;
    std::optional<std::string> previous_;
};

std::optional<std::string> ReadIniValue(const std::string& file, const std::string& section,
                                        const std::string& key);

// A file that is deleted at the end of the scope, whatever its attributes.
class ScopedFile {
  public:
    explicit ScopedFile(std::string path) : path_(std::move(path)) {}
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ~ScopedFile();
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The runner's Wine version setting, which makes it see the 9x family.
inline constexpr const char* kRunnerAppDefaults = "Software\\Wine\\AppDefaults\\autorun_runner.exe";

} // namespace orvane::test
