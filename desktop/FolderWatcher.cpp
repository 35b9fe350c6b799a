#include "desktop/FolderWatcher.h"

#include "base/ShellError.h"
#include "base/Utf.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace orvane {

// The one thread all folder watchers share: it waits on every watcher's
// change handle at once, and wakes for the nearest of their retries and
// checks. Watchers join and leave from any thread; one that leaves waits
// until the thread took a new look at the list, so nothing of it is touched
// afterwards.
class TWatchThread {
  public:
    static TWatchThread& Instance() {
        static TWatchThread thread;
        return thread;
    }

    void Add(TFolderWatcher* watcher) {
        std::lock_guard control(control_);
        if (!wake_) {
            wake_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
            if (!wake_)
                ThrowLastError("Folder watcher");
        }
        {
            std::lock_guard lock(mutex_);
            watchers_.push_back(watcher);
            ++generation_;
        }
        if (!thread_) {
            thread_.reset(CreateThread(nullptr, 0, &TWatchThread::Main, this, 0, nullptr));
            if (!thread_) {
                const DWORD error = GetLastError();
                std::lock_guard lock(mutex_);
                std::erase(watchers_, watcher);
                SetLastError(error);
                ThrowLastError("Folder watcher");
            }
        }
        SetEvent(wake_.get());
    }

    void Remove(TFolderWatcher* watcher) {
        std::lock_guard control(control_);
        uint64_t generation = 0;
        bool last = false;
        {
            std::lock_guard lock(mutex_);
            std::erase(watchers_, watcher);
            generation = ++generation_;
            last = watchers_.empty();
        }
        SetEvent(wake_.get());
        if (last) {
            // An empty list ends the thread.
            WaitForSingleObject(thread_.get(), INFINITE);
            thread_.reset();
            return;
        }
        std::unique_lock lock(mutex_);
        seen_.wait(lock, [&] { return seenGeneration_ >= generation; });
    }

    int Threads() {
        std::lock_guard control(control_);
        return thread_ ? 1 : 0;
    }

  private:
    static DWORD WINAPI Main(void* self) {
        static_cast<TWatchThread*>(self)->Run();
        return 0;
    }

    void Run() {
        for (;;) {
            std::vector<TFolderWatcher*> watchers;
            {
                std::lock_guard lock(mutex_);
                watchers = watchers_;
                seenGeneration_ = generation_;
            }
            seen_.notify_all();
            if (watchers.empty())
                return;
            Serve(watchers);
        }
    }

    // One round: what waits is handed on, what is due is looked at, then one
    // wait for the first change, the nearest due time or the list changing.
    void Serve(const std::vector<TFolderWatcher*>& watchers) {
        ULONGLONG now = GetTickCount64();
        for (TFolderWatcher* watcher : watchers) {
            watcher->HandOn();
            if (now >= watcher->NextLook())
                watcher->Look(now);
        }
        std::vector<HANDLE> waits{wake_.get()};
        std::vector<TFolderWatcher*> owners{nullptr};
        ULONGLONG due = ~0ULL;
        for (TFolderWatcher* watcher : watchers) {
            if (watcher->Notification() != INVALID_HANDLE_VALUE &&
                waits.size() < MAXIMUM_WAIT_OBJECTS) {
                waits.push_back(watcher->Notification());
                owners.push_back(watcher);
            }
            due = std::min(due, watcher->NextLook());
            if (watcher->Waiting())
                due = std::min(due, now + TFolderWatcher::kRetryDelay);
        }
        const DWORD timeout = due <= now ? 0
                                         : static_cast<DWORD>(std::min<ULONGLONG>(
                                               due - now, TFolderWatcher::kCheckInterval));
        const DWORD result =
            WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, timeout);
        now = GetTickCount64();
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + waits.size()) {
            // The wait names the first signalled handle only: the others are
            // served in the same round, so a busy folder cannot starve them.
            const size_t first = result - WAIT_OBJECT_0;
            owners[first]->Signalled(now);
            for (size_t i = first + 1; i < waits.size(); ++i)
                if (WaitForSingleObject(waits[i], 0) == WAIT_OBJECT_0)
                    owners[i]->Signalled(now);
        } else if (result == WAIT_FAILED) {
            // Which handle failed the wait: each is tried alone.
            for (size_t i = 1; i < waits.size(); ++i)
                if (WaitForSingleObject(waits[i], 0) == WAIT_FAILED)
                    owners[i]->Lost(GetLastError() != ERROR_SUCCESS ? GetLastError()
                                                                    : ERROR_INVALID_HANDLE,
                                    now);
            Sleep(TFolderWatcher::kRetryDelay);
        }
    }

    std::mutex control_; // one Add or Remove at a time
    std::mutex mutex_;   // the list and the generations
    std::condition_variable seen_;
    std::vector<TFolderWatcher*> watchers_;
    uint64_t generation_ = 0;
    uint64_t seenGeneration_ = 0;
    UniqueHandle wake_;
    UniqueHandle thread_;
};

TFolderWatcher::TFolderWatcher(const std::string& folder, TReport report)
    : folder_(folder), path_(Wide(folder)), report_(std::move(report)) {
    error_ = Open();
    stopped_ = error_ != ERROR_SUCCESS;
    const ULONGLONG now = GetTickCount64();
    nextLook_ = now + (stopped_ ? kPollInterval : kCheckInterval);
    try {
        TWatchThread::Instance().Add(this);
    } catch (...) {
        Close();
        throw;
    }
}

TFolderWatcher::~TFolderWatcher() {
    TWatchThread::Instance().Remove(this);
    Close();
}

int TFolderWatcher::WatchThreads() {
    return TWatchThread::Instance().Threads();
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

void TFolderWatcher::HandOn() {
    // What waits is handed on in the order it happened.
    if (stopped_ && report_(TWatchReport::Stopped, error_))
        stopped_ = false;
    if (!stopped_ && resumed_ && report_(TWatchReport::Resumed, 0))
        resumed_ = false;
    if (!stopped_ && !resumed_ && changed_ && report_(TWatchReport::Changed, 0))
        changed_ = false;
}

void TFolderWatcher::Signalled(ULONGLONG now) {
    changed_ = true;
    if (!FindNextChangeNotification(notification_))
        Lost(GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_HANDLE, now);
}

void TFolderWatcher::Look(ULONGLONG now) {
    if (notification_ == INVALID_HANDLE_VALUE) {
        if (Open() == ERROR_SUCCESS) {
            resumed_ = true;
            changed_ = true; // what the folder holds now
            nextLook_ = now + kCheckInterval;
        } else {
            Close();
            nextLook_ = now + kPollInterval;
        }
        return;
    }
    nextLook_ = now + kCheckInterval;
    if (const DWORD lost = FolderLost(); lost != ERROR_SUCCESS)
        Lost(lost, now);
}

void TFolderWatcher::Lost(DWORD error, ULONGLONG now) {
    Close();
    stopped_ = true;
    resumed_ = false;
    error_ = error;
    changed_ = true; // its links go, or come from the folder now there
    nextLook_ = now + kPollInterval;
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
