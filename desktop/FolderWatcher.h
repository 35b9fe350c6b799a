#pragma once
// Watches one folder (without its subfolders) for entries created, deleted
// or renamed. The waiting happens off the GUI thread, on one thread that all
// watchers share (one wait over all their change handles); everything a
// watcher has to tell is reported there through `report`, which must only
// hand it on (post a message to the GUI thread) and touch nothing else.
//
// A report that cannot be handed on is tried again a moment later. A folder
// that goes away (deleted, or renamed and another put in its place) stops
// the watch; the watcher reports that, looks for the folder again every
// half second and reports when it watches it again. A folder missing at the
// start is waited for the same way.
#include "base/Win32Handles.h"

#include <atomic>
#include <functional>
#include <string>

namespace orvane {

enum class TWatchReport : WORD {
    Changed, // entries came, went or were renamed: read the folder again
    Stopped, // the folder cannot be watched any more (error: why)
    Resumed, // the folder is watched again
};

class TFolderWatcher {
  public:
    // True when the report was handed on.
    using TReport = std::function<bool(TWatchReport report, DWORD error)>;

    // Raises ShellError only when the watching thread cannot be made.
    TFolderWatcher(const std::string& folder, TReport report);
    TFolderWatcher(const TFolderWatcher&) = delete;
    TFolderWatcher& operator=(const TFolderWatcher&) = delete;
    // Leaves the shared thread (which ends with the last watcher) and waits
    // until it no longer looks at this one.
    ~TFolderWatcher();

    const std::string& Folder() const { return folder_; }

    // Milliseconds: a report not handed on is tried again after kRetryDelay;
    // while watching, whether the folder is still the one watched is looked
    // at every kCheckInterval; while it is missing, every kPollInterval.
    static constexpr DWORD kRetryDelay = 100;
    static constexpr DWORD kCheckInterval = 1000;
    static constexpr DWORD kPollInterval = 500;

    // Threads that watch folders now (0 or 1): for tests.
    static int WatchThreads();

  private:
    friend class TWatchThread;

    struct TIdentity {
        DWORD volume = 0;
        DWORD indexHigh = 0;
        DWORD indexLow = 0;
        bool operator==(const TIdentity&) const = default;
    };

    // The shared thread's steps for this folder.
    void HandOn();
    bool Waiting() const { return stopped_ || resumed_ || changed_; }
    HANDLE Notification() const { return notification_; }
    ULONGLONG NextLook() const { return nextLook_; }
    // The change handle was signalled.
    void Signalled(ULONGLONG now);
    // Its time came: is the watched folder still there, or is a missing one
    // back?
    void Look(ULONGLONG now);
    void Lost(DWORD error, ULONGLONG now);

    // Starts watching; the error when the folder cannot be watched.
    DWORD Open();
    void Close();
    // ERROR_SUCCESS while the path names the folder being watched; else why
    // not (ERROR_FILE_INVALID: another folder of that name).
    DWORD FolderLost() const;
    bool ReadIdentity(TIdentity& identity) const;

    std::string folder_;
    std::wstring path_;
    TReport report_;
    HANDLE notification_ = INVALID_HANDLE_VALUE;
    TIdentity identity_;
    // What waits to be handed on; touched by the shared thread only once
    // the watcher is registered.
    bool changed_ = false;
    bool stopped_ = false;
    bool resumed_ = false;
    DWORD error_ = 0;
    ULONGLONG nextLook_ = 0;
};

// Hands a burst of changes to a window as one message: another is posted
// only once the window took the last one (Taken). A post that fails is not
// counted as posted, so the watcher's next try posts again.
class TChangeMessage {
  public:
    TChangeMessage(HWND window, UINT message) : window_(window), message_(message) {}
    // From the watchers' threads: true when a message is on its way.
    bool Post();
    // From the window's thread, on the message.
    void Taken() { posted_ = false; }

  private:
    HWND window_;
    UINT message_;
    std::atomic<bool> posted_{false};
};

} // namespace orvane
