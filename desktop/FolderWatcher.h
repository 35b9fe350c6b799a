#pragma once
// Watches one folder (without its subfolders) for entries created, deleted
// or renamed. The waiting happens on a thread of its own; every change is
// reported there through `onChange`, which must only hand it on (post a
// message to the GUI thread) and touch nothing else.
#include "base/Win32Handles.h"

#include <functional>
#include <string>

namespace orvane {

class TFolderWatcher {
  public:
    // Raises ShellError when the folder cannot be watched.
    TFolderWatcher(const std::string& folder, std::function<void()> onChange);
    TFolderWatcher(const TFolderWatcher&) = delete;
    TFolderWatcher& operator=(const TFolderWatcher&) = delete;
    // Stops the thread and waits for it.
    ~TFolderWatcher();

    const std::string& Folder() const { return folder_; }

  private:
    static DWORD WINAPI ThreadMain(void* self);
    void Watch();

    std::string folder_;
    std::function<void()> onChange_;
    HANDLE notification_ = INVALID_HANDLE_VALUE;
    UniqueHandle stop_;
    UniqueHandle thread_;
};

} // namespace orvane
