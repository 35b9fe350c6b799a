#include "desktop/FolderWatcher.h"

#include "base/ShellError.h"
#include "base/Utf.h"

namespace orvane {

TFolderWatcher::TFolderWatcher(const std::string& folder, TReport report)
    : folder_(folder), path_(Wide(folder)), report_(std::move(report)) {
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_)
        ThrowLastError("Folder watcher");
    openError_ = Open();
    thread_.reset(CreateThread(nullptr, 0, &TFolderWatcher::ThreadMain, this, 0, nullptr));
    if (!thread_) {
        DWORD error = GetLastError();
        Close();
        SetLastError(error);
        ThrowLastError("Folder watcher");
    }
}

TFolderWatcher::~TFolderWatcher() {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    Close();
}

DWORD WINAPI TFolderWatcher::ThreadMain(void* self) {
    static_cast<TFolderWatcher*>(self)->Watch();
    return 0;
}

DWORD TFolderWatcher::Open() {
    auto failure = [] {
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_PATH_NOT_FOUND;
    };
    if (!ReadIdentity(identity_))
        return failure();
    notification_ = FindFirstChangeNotificationW(
        path_.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
    return notification_ == INVALID_HANDLE_VALUE ? failure() : ERROR_SUCCESS;
}

void TFolderWatcher::Close() {
    if (notification_ != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(notification_);
    notification_ = INVALID_HANDLE_VALUE;
}

bool TFolderWatcher::ReadIdentity(TIdentity& identity) const {
    UniqueFileHandle folder(
        CreateFileW(path_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!folder || !GetFileInformationByHandle(folder.get(), &information))
        return false;
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_DIRECTORY);
        return false;
    }
    identity = TIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh,
                         information.nFileIndexLow};
    return true;
}

DWORD TFolderWatcher::FolderLost() const {
    // A folder renamed away takes the watch with it (Wine watches the
    // folder, not its name), and a deleted one reports nothing at all.
    TIdentity now;
    if (!ReadIdentity(now))
        return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_PATH_NOT_FOUND;
    // Another folder under the same name: the handle watches the old one.
    return now == identity_ ? ERROR_SUCCESS : ERROR_FILE_INVALID;
}

void TFolderWatcher::Watch() {
    bool changed = false;
    bool stopped = openError_ != ERROR_SUCCESS;
    bool resumed = false;
    DWORD error = openError_;
    for (;;) {
        // What waits is handed on in the order it happened.
        if (stopped && report_(TWatchReport::Stopped, error))
            stopped = false;
        if (!stopped && resumed && report_(TWatchReport::Resumed, 0))
            resumed = false;
        if (!stopped && !resumed && changed && report_(TWatchReport::Changed, 0))
            changed = false;
        const bool waiting = stopped || resumed || changed;
        const bool watching = notification_ != INVALID_HANDLE_VALUE;

        if (!watching) {
            const DWORD result =
                WaitForSingleObject(stop_.get(), waiting ? kRetryDelay : kPollInterval);
            if (result == WAIT_OBJECT_0)
                return;
            if (result == WAIT_FAILED)
                Sleep(kPollInterval);
            if (Open() == ERROR_SUCCESS) {
                resumed = true;
                changed = true; // what the folder holds now
            } else {
                Close();
            }
            continue;
        }

        HANDLE waits[2] = {stop_.get(), notification_};
        const DWORD result =
            WaitForMultipleObjects(2, waits, FALSE, waiting ? kRetryDelay : kCheckInterval);
        DWORD lost = ERROR_SUCCESS;
        if (result == WAIT_OBJECT_0) {
            return;
        } else if (result == WAIT_OBJECT_0 + 1) {
            changed = true;
            if (!FindNextChangeNotification(notification_))
                lost = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_HANDLE;
        } else if (result == WAIT_TIMEOUT) {
            lost = FolderLost();
        } else {
            lost = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_HANDLE;
        }
        if (lost != ERROR_SUCCESS) {
            Close();
            stopped = true;
            resumed = false;
            error = lost;
            changed = true; // its links go, or come from the folder now there
        }
    }
}

bool TChangeMessage::Post() {
    if (posted_.exchange(true))
        return true;
    if (PostMessageW(window_, message_, 0, 0))
        return true;
    posted_ = false;
    return false;
}

} // namespace orvane
