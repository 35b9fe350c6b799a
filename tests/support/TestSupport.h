#pragma once
// What the test executables share: the program folder of the build, scratch
// folders, child processes that always end, waiting with a bound, registry and
// file helpers.
#include <windows.h>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

// The program folder installed from the build (cmake --install), as a Windows path.
std::string StageDir();
// The build's output folder, where helper programs live.
std::string BinDir();

// A new empty folder under %TEMP%, removed with everything in it at the end.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& hint = "orvane");
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

void CopyTree(const std::string& from, const std::string& to);
void RemoveTree(const std::string& path);

// Paths are UTF-8, as everywhere in the shell.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// Saves top-down 32-bit pixels as a BMP file, for a person to look at.
void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
std::vector<std::string> SplitLines(const std::string& text);
// How many of `lines` contain `text`.
int CountLinesWith(const std::vector<std::string>& lines, const std::string& text);

// Polls `condition` every 20 ms, handling this thread's messages, until it holds
// or `timeoutMs` has passed. Returns the last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Handles this thread's messages for `ms` milliseconds.
void PumpMessagesFor(DWORD ms);

// A started program; it is ended (TerminateProcess) when the object goes.
class ChildProcess {
  public:
    ChildProcess() = default;
    // commandLine is passed to CreateProcessA as it stands.
    static ChildProcess Start(const std::string& commandLine, const std::string& folder = "",
                              bool inheritHandles = false);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();

    bool running() const;
    // Waits for the end; the exit code, or nothing on time-out.
    std::optional<DWORD> wait(DWORD timeoutMs);
    void terminate();
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Top-level windows of a process, optionally of one window class.
std::vector<HWND> WindowsOfProcess(DWORD processId, const char* className = nullptr);

// Registry: values under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
void SetRegString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value);
std::optional<std::string> GetRegString(HKEY root, const std::string& key, const std::string& name);
std::vector<std::string> RegValueNames(HKEY root, const std::string& key);
void DeleteRegKey(HKEY root, const std::string& key);

std::string WindowsFolder();
// Path of an environment variable's value, or "".
std::string EnvVar(const char* name);

} // namespace orvane::test
