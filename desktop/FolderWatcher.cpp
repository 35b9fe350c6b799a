#include "desktop/FolderWatcher.h"

#include "base/ShellError.h"
#include "base/Utf.h"

namespace orvane {

TFolderWatcher::TFolderWatcher(const std::string& folder, std::function<void()> onChange)
    : folder_(folder), onChange_(std::move(onChange)) {
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_)
        ThrowLastError("Folder watcher");
    notification_ = FindFirstChangeNotificationW(
        Wide(folder).c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    if (notification_ == INVALID_HANDLE_VALUE)
        ThrowLastError("Cannot watch folder \"" + folder + "\"");
    thread_.reset(CreateThread(nullptr, 0, &TFolderWatcher::ThreadMain, this, 0, nullptr));
    if (!thread_) {
        DWORD error = GetLastError();
        FindCloseChangeNotification(notification_);
        SetLastError(error);
        ThrowLastError("Folder watcher");
    }
}

TFolderWatcher::~TFolderWatcher() {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    FindCloseChangeNotification(notification_);
}

DWORD WINAPI TFolderWatcher::ThreadMain(void* self) {
    static_cast<TFolderWatcher*>(self)->Watch();
    return 0;
}

void TFolderWatcher::Watch() {
    HANDLE waits[2] = {stop_.get(), notification_};
    for (;;) {
        DWORD result = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (result != WAIT_OBJECT_0 + 1)
            return; // stopped, or the wait itself failed
        onChange_();
        if (!FindNextChangeNotification(notification_))
            return;
    }
}

} // namespace orvane
