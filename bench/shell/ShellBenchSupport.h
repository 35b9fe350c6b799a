#pragma once
// What the whole-shell benchmarks and their shorter ctest runs share: a
// started program, notify icons sent through the platform, the figures of a
// process (memory, handles, windows, threads) and the helper process that
// plays other programs (windows, icons, a window that only answers).
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace shellbench {

std::wstring Wide(const std::string& text);

class Process {
  public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    static Process Start(const std::wstring& command, const std::wstring& folder);
    // A process started elsewhere, by its id.
    static Process Attach(DWORD processId);
    explicit operator bool() const { return handle_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }
    bool Running() const;
    bool WaitEnd(DWORD timeoutMs);
    void Terminate();

  private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// One notify icon of this process, sent through Shell_NotifyIconW.
class TrayIcon {
  public:
    explicit TrayIcon(uint32_t id);
    bool Add();
    bool Modify(bool second);
    bool Delete();
    // Bytes of an add request as the platform sends it (the icon's bits included).
    size_t AddBlockSize() const;
    uint32_t Id() const { return id_; }

  private:
    uint32_t id_;
};

struct MemoryFigures {
    double residentMb = 0, privateMb = 0;
};
MemoryFigures MemoryOf(const Process& process);

// Committed memory by kind: program and library images, mapped files and
// sections (fonts, shared blocks), and the process's own (heaps, bitmaps'
// bits, stacks).
struct MemoryMap {
    double imageMb = 0, mappedMb = 0, privateMb = 0;
};
MemoryMap MemoryMapOf(const Process& process);

// What a long run must give back: the process's figures.
struct ProcessFigures {
    double residentMb = 0;
    DWORD handles = 0;
    int windows = 0;
    int threads = 0;
};
ProcessFigures FiguresOf(const Process& process);
// The process's windows by class ("top " before the class of a top-level one).
std::map<std::wstring, int> WindowClassesOf(const Process& process);

bool OwnedBy(HWND window, DWORD processId);
std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className);
HWND ControlNamed(HWND root, const char* componentName);

void EndExplorer();
HWND WaitForTray(DWORD processId, DWORD timeoutMs);
// The shell's bar shown, its tray answering and the rest of its start done
// (the windows beside the bar follow the bar from the message loop).
bool WaitForShell(const Process& shell, DWORD timeoutMs);
// The windows beside the bar exist.
bool StartFinished(const Process& shell);
void CloseShell(Process& shell);

// The helper: `windows` task windows and `icons` notify icons (added again on
// "TaskbarCreated"), and a window of class kSinkClass that answers WM_COPYDATA
// with 1 and does nothing else.
constexpr wchar_t kSinkClass[] = L"OrvaneBenchSink";
Process StartHelper(int windows, int icons);
int RunHelper(int windows, int icons);
bool WaitForIcons(const Process& helper, DWORD timeoutMs);
HWND WaitForSink(DWORD timeoutMs);
// Median microseconds of a WM_COPYDATA of `bytes` to the sink.
double BareRoundTrip(HWND sink, size_t bytes, int rounds);

// 1,000 empty shortcuts (`count` rounded to folders of 20) in the user's
// start menu; the folders made.
std::vector<std::string> MakeStartMenuEntries(int count);
void RemoveMade(const std::vector<std::string>& folders);

bool ShowStartPanel(const Process& shell);
bool HideStartPanel(const Process& shell);
// Clicks the drive's entry in the Files section and waits for the browser
// window and its listing; the browser's window, or null.
HWND OpenBrowserOnDrive(const Process& shell, const char* drive, DWORD timeoutMs);

} // namespace shellbench
