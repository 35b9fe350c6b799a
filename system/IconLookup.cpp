#include "system/IconLookup.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/WindowMessages.h"
#include "system/FileSystem.h"
#include "system/ProcessInfo.h"
#include "system/ShellIcons.h"
#include "system/Shortcuts.h"

#include <shellapi.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <unordered_set>

namespace orvane {

struct TIconJob {
    uint64_t ticket = 0;
    bool window = false;
    std::string path;
    bool small = true;
    HWND hwnd = nullptr;
    uintptr_t known = 0;
    std::function<std::string()> text;
};

struct TIconRequest::Callbacks {
    std::unordered_map<uint64_t, TIconLookup::Done> waiting;
    std::function<void(uint64_t)> cancelled;
};

namespace {

constexpr wchar_t kSinkClass[] = L"TIconLookupSink";
// Results handed out per message: the rest wait for the next one, so that
// painting and input come in between.
constexpr size_t kDeliveredAtOnce = 64;
// How long the destructor waits for the workers before leaving them behind.
constexpr DWORD kStopWaitMs = 1000;
// Workers all busy with lookups that finish nothing for this long (a dead
// network share, a program that never answers) get one more beside them, up
// to a bound; the stuck ones keep their threads until their calls return.
constexpr ULONGLONG kStuckMs = 500;
constexpr size_t kMaxWorkers = 8;
// A queue this long or shorter is one worker's: the task buttons' look at
// 50 windows every second takes it a few milliseconds, and each further
// thread is about a megabyte resident under Wine. Longer queues (a start
// menu of a thousand entries) get every worker the options allow.
constexpr size_t kOneWorkersJobs = 64;
constexpr UINT_PTR kStuckCheckTimer = 1;
constexpr UINT kStuckCheckMs = 1000;

// Files whose pictures are inside them, as resources or as the file itself.
bool CarriesIcons(const std::string& path) {
    static const char* const kExtensions[] = {".exe", ".dll", ".ico", ".icl", ".cpl", ".scr"};
    const std::string extension = LowerExtension(path);
    return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                       [&](const char* known) { return extension == known; });
}

bool IsDriveRoot(const std::string& path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

struct TFileFacts {
    bool exists = false;
    bool folder = false;
    uint64_t time = 0;
};

TFileFacts FactsOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return {};
    return {true, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
            (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                data.ftLastWriteTime.dwLowDateTime};
}

UniqueIcon IconInside(const std::string& file, int index, bool small) {
    HICON icon = nullptr;
    ExtractIconExW(Wide(file).c_str(), index, small ? nullptr : &icon, small ? &icon : nullptr, 1);
    return UniqueIcon(icon);
}

UniqueIcon DriveRootIcon(const std::string& root, bool small) {
    // A drive that is not ready shows no error box.
    DWORD previous = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
    UniqueIcon icon = GetPathIcon(root, small);
    SetThreadErrorMode(previous, nullptr);
    return icon;
}

// A copy of an icon handle another module (or process) owns; null when the
// handle cannot be read here (another process's icon under Wine).
UniqueIcon CopyOf(HICON icon) {
    if (!icon)
        return {};
    UniqueIcon copy(CopyIcon(icon));
    ICONINFO info{};
    if (!copy || !GetIconInfo(copy.get(), &info))
        return {};
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return copy;
}

uintptr_t Mixed(uintptr_t signature, uintptr_t value) {
    return signature * 1000003u ^ value;
}

} // namespace

namespace {

std::atomic<size_t> liveSharedIcons{0};

struct TCountedIcon {
    explicit TCountedIcon(UniqueIcon owned) : icon(std::move(owned)) { ++liveSharedIcons; }
    TCountedIcon(const TCountedIcon&) = delete;
    TCountedIcon& operator=(const TCountedIcon&) = delete;
    ~TCountedIcon() { --liveSharedIcons; }
    UniqueIcon icon;
};

} // namespace

SharedIcon ShareIcon(UniqueIcon icon) {
    if (!icon)
        return {};
    auto counted = std::make_shared<TCountedIcon>(std::move(icon));
    return SharedIcon(counted, &counted->icon);
}

size_t LiveSharedIcons() {
    return liveSharedIcons.load();
}

// ---- the cache ----

TIconCache::TIconCache(size_t limit) : limit_(std::max<size_t>(limit, 1)) {}

std::string TIconCache::Text(const TIconKey& key) {
    return key.path + '|' + std::to_string(key.index) + '|' + (key.small ? 's' : 'l') + '|' +
           std::to_string(key.fileTime);
}

std::optional<SharedIcon> TIconCache::Find(const TIconKey& key) {
    std::lock_guard lock(mutex_);
    auto found = entries_.find(Text(key));
    if (found == entries_.end())
        return std::nullopt;
    order_.splice(order_.begin(), order_, found->second);
    return found->second->second;
}

void TIconCache::Put(const TIconKey& key, SharedIcon icon) {
    std::string text = Text(key);
    std::lock_guard lock(mutex_);
    if (auto found = entries_.find(text); found != entries_.end()) {
        found->second->second = std::move(icon);
        order_.splice(order_.begin(), order_, found->second);
        return;
    }
    order_.emplace_front(text, std::move(icon));
    entries_.emplace(std::move(text), order_.begin());
    while (order_.size() > limit_) {
        entries_.erase(order_.back().first);
        order_.pop_back();
    }
}

size_t TIconCache::Count() const {
    std::lock_guard lock(mutex_);
    return order_.size();
}

// ---- what the workers share with the GUI thread ----

struct TIconLookup::Shared {
    explicit Shared(const TOptions& options)
        : cache(options.cacheLimit), windowTimeoutMs(options.windowTimeoutMs),
          idleMs(options.idleMs) {}

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<TIconJob> jobs;
    std::unordered_set<uint64_t> cancelled;
    std::vector<std::pair<uint64_t, TIconFound>> arrived;
    bool posted = false;
    bool stopping = false;
    // Workers running (counted from the moment one is decided on), those
    // waiting for a job, those inside a lookup, and when one last started or
    // finished one.
    int alive = 0;
    int idle = 0;
    int busy = 0;
    ULONGLONG lastProgress = GetTickCount64();
    HWND sink = nullptr;
    std::atomic<long long> delayMs{0};
    TIconCache cache;
    const unsigned windowTimeoutMs;
    const unsigned idleMs;

    void Run();
    TIconFound Look(const TIconJob& job);
    SharedIcon FileIcon(const std::string& path, bool small);
    SharedIcon CachedIcon(const std::string& file, int index, bool small, uint64_t time,
                          const std::function<UniqueIcon()>& look);
    TIconFound WindowIcon(HWND window, uintptr_t known);
    void Deliver(uint64_t ticket, TIconFound found);
};

SharedIcon TIconLookup::Shared::CachedIcon(const std::string& file, int index, bool small,
                                           uint64_t time, const std::function<UniqueIcon()>& look) {
    const TIconKey key{file, index, small, time};
    if (std::optional<SharedIcon> known = cache.Find(key))
        return *known;
    SharedIcon icon = ShareIcon(look());
    cache.Put(key, icon);
    return icon;
}

SharedIcon TIconLookup::Shared::FileIcon(const std::string& path, bool small) {
    if (IsDriveRoot(path))
        return ShareIcon(DriveRootIcon(path, small));
    const TFileFacts facts = FactsOf(path);
    if (!facts.exists || facts.folder)
        return {};
    if (CarriesIcons(path))
        return CachedIcon(path, 0, small, facts.time, [&] { return IconInside(path, 0, small); });
    if (LowerExtension(path) != ".lnk")
        return {};
    // A shortcut: the icon it names, else its target's. The shortcut's own
    // time keys it, so an edited shortcut is read again.
    return CachedIcon(path, 0, small, facts.time, [&]() -> UniqueIcon {
        const ShortcutInfo link = ResolveShortcut(path);
        if (!link.iconFile.empty())
            if (UniqueIcon icon =
                    IconInside(ExpandEnvironment(link.iconFile), link.iconIndex, small))
                return icon;
        if (link.target.empty())
            return {};
        const std::string target = ExpandEnvironment(link.target);
        const TFileFacts targetFacts = FactsOf(target);
        if (!targetFacts.exists)
            return {};
        if (targetFacts.folder)
            return GetFolderIcon(target);
        if (CarriesIcons(target))
            if (UniqueIcon icon = IconInside(target, 0, small))
                return icon;
        return GetFileIcon(target, small);
    });
}

TIconFound TIconLookup::Shared::WindowIcon(HWND window, uintptr_t known) {
    TIconFound found;
    if (!IsWindow(window))
        return found;
    // The window answers first; one that does not answer in time is asked
    // nothing more.
    HICON answered[3] = {};
    const WPARAM kinds[3] = {ICON_SMALL2, ICON_SMALL, ICON_BIG};
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_GETICON, kinds[i], 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                 windowTimeoutMs, &result))
            break;
        answered[i] = reinterpret_cast<HICON>(result);
    }
    const HICON classIcons[2] = {reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM)),
                                 reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON))};
    uintptr_t signature = 1;
    for (HICON icon : answered)
        signature = Mixed(signature, reinterpret_cast<uintptr_t>(icon));
    for (HICON icon : classIcons)
        signature = Mixed(signature, reinterpret_cast<uintptr_t>(icon));
    found.signature = signature;
    if (known != 0 && known == signature) {
        found.unchanged = true;
        return found;
    }

    UniqueIcon own;
    for (HICON icon : answered)
        if (!own)
            own = CopyOf(icon);
    for (HICON icon : classIcons)
        if (!own)
            own = CopyOf(icon);
    if (own) {
        found.icon = ShareIcon(std::move(own));
    } else {
        std::string program = GetProcessModulePath(window);
        if (program.empty())
            program = GetProcessExeName(window);
        if (!program.empty())
            found.icon = FileIcon(program, true);
    }
    if (found.icon)
        found.glyph = IconToBitmap(found.icon->get());
    return found;
}

TIconFound TIconLookup::Shared::Look(const TIconJob& job) {
    if (const long long delay = delayMs.load(); delay > 0) {
        std::unique_lock lock(mutex);
        wake.wait_for(lock, std::chrono::milliseconds(delay), [this] { return stopping; });
    }
    TIconFound found;
    // A failed lookup finds nothing: the entry keeps its type icon.
    Guarded("TIconLookup", FailurePolicy::Silent, [&] {
        if (job.text)
            found.text = job.text();
        else if (job.window)
            found = WindowIcon(job.hwnd, job.known);
        else
            found.icon = FileIcon(job.path, job.small);
    });
    return found;
}

void TIconLookup::Shared::Deliver(uint64_t ticket, TIconFound found) {
    std::lock_guard lock(mutex);
    if (cancelled.erase(ticket) || !sink)
        return;
    arrived.emplace_back(ticket, std::move(found));
    if (!posted)
        posted = PostMessageW(sink, WM_ICONSARRIVED, 0, 0) != FALSE;
}

void TIconLookup::Shared::Run() {
    // The shell-link object and SHGetFileInfo want COM on the calling thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (;;) {
        TIconJob job;
        {
            std::unique_lock lock(mutex);
            ++idle;
            const bool woken = wake.wait_for(lock, std::chrono::milliseconds(idleMs),
                                             [this] { return stopping || !jobs.empty(); });
            --idle;
            // Nothing to do for a while: the thread goes (each one is about a
            // megabyte resident under Wine); the next job starts another.
            if (stopping || !woken) {
                --alive;
                break;
            }
            job = std::move(jobs.front());
            jobs.pop_front();
            if (cancelled.erase(job.ticket))
                continue;
            ++busy;
            lastProgress = GetTickCount64();
        }
        TIconFound found = Look(job);
        {
            std::lock_guard lock(mutex);
            --busy;
            lastProgress = GetTickCount64();
        }
        Deliver(job.ticket, std::move(found));
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

namespace {

DWORD WINAPI WorkerMain(void* param) {
    // The worker keeps what it shares alive: it may outlive the service.
    std::unique_ptr<std::shared_ptr<TIconLookup::Shared>> shared(
        static_cast<std::shared_ptr<TIconLookup::Shared>*>(param));
    (*shared)->Run();
    return 0;
}

LRESULT CALLBACK SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ICONSARRIVED) {
        if (auto* lookup = reinterpret_cast<TIconLookup*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            lookup->DeliverArrived();
        return 0;
    }
    if (message == WM_TIMER) {
        if (auto* lookup = reinterpret_cast<TIconLookup*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            Guarded("TIconLookup.AddWorker", FailurePolicy::LogAndContinue,
                    [&] { lookup->AddWorkerIfStuck(); });
        return 0;
    }
    if (message == WM_ICONSASKED) {
        if (auto* lookup = reinterpret_cast<TIconLookup*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            lookup->SendToWorkers();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterSinkClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = SinkProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kSinkClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    if (!registered)
        ThrowLastError("RegisterClassW");
}

} // namespace

// ---- requests ----

TIconRequest::TIconRequest(TIconRequest&& other) noexcept
    : callbacks_(std::move(other.callbacks_)), ticket_(std::exchange(other.ticket_, 0)) {}

TIconRequest& TIconRequest::operator=(TIconRequest&& other) noexcept {
    if (this != &other) {
        Cancel();
        callbacks_ = std::move(other.callbacks_);
        ticket_ = std::exchange(other.ticket_, 0);
    }
    return *this;
}

void TIconRequest::Cancel() {
    if (ticket_ == 0)
        return;
    if (std::shared_ptr<Callbacks> callbacks = callbacks_.lock())
        if (callbacks->waiting.erase(ticket_) && callbacks->cancelled)
            callbacks->cancelled(ticket_);
    ticket_ = 0;
    callbacks_.reset();
}

bool TIconRequest::Pending() const {
    std::shared_ptr<Callbacks> callbacks = callbacks_.lock();
    return callbacks && ticket_ != 0 && callbacks->waiting.contains(ticket_);
}

// ---- the service ----

TIconLookup::TIconLookup() : TIconLookup(TOptions{}) {}

TIconLookup::TIconLookup(TOptions options)
    : shared_(std::make_shared<Shared>(options)), workerLimit_(std::max(options.workers, 1)),
      callbacks_(std::make_shared<TIconRequest::Callbacks>()) {
    RegisterSinkClass();
    sink_.reset(CreateWindowExW(0, kSinkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    if (!sink_)
        ThrowLastError("CreateWindowExW");
    SetWindowLongPtrW(sink_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    shared_->sink = sink_.get();
    callbacks_->cancelled = [shared = shared_](uint64_t ticket) {
        std::lock_guard lock(shared->mutex);
        shared->cancelled.insert(ticket);
    };
    SetTimer(sink_.get(), kStuckCheckTimer, kStuckCheckMs, nullptr);
}

void TIconLookup::ForgetEndedWorkers() {
    // Workers that ended after an idle while leave their handles behind.
    std::erase_if(workers_, [](const UniqueHandle& worker) {
        return WaitForSingleObject(worker.get(), 0) == WAIT_OBJECT_0;
    });
}

void TIconLookup::StartWorker() {
    auto start = std::make_unique<std::shared_ptr<Shared>>(shared_);
    UniqueHandle thread(CreateThread(nullptr, 0, WorkerMain, start.get(), 0, nullptr));
    if (!thread) {
        const DWORD error = GetLastError();
        {
            std::lock_guard lock(shared_->mutex);
            --shared_->alive;
        }
        SetLastError(error);
        ThrowLastError("CreateThread");
    }
    start.release(); // the worker owns it now
    workers_.push_back(std::move(thread));
}

size_t TIconLookup::Workers() const {
    std::lock_guard lock(shared_->mutex);
    return static_cast<size_t>(shared_->alive);
}

void TIconLookup::AddWorkerIfStuck() {
    ForgetEndedWorkers();
    {
        std::lock_guard lock(shared_->mutex);
        const bool stuck = shared_->alive < static_cast<int>(kMaxWorkers) &&
                           shared_->busy >= shared_->alive && !shared_->jobs.empty() &&
                           GetTickCount64() - shared_->lastProgress >= kStuckMs;
        if (!stuck)
            return;
        // The next check waits for this worker's first lookup.
        shared_->lastProgress = GetTickCount64();
        ++shared_->alive;
    }
    StartWorker();
}

TIconLookup::~TIconLookup() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        shared_->sink = nullptr;
        shared_->jobs.clear();
        shared_->arrived.clear();
    }
    shared_->wake.notify_all();
    KillTimer(sink_.get(), kStuckCheckTimer);
    std::vector<HANDLE> handles;
    for (const UniqueHandle& worker : workers_)
        handles.push_back(worker.get());
    if (!handles.empty())
        WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE,
                               kStopWaitMs);
    callbacks_->cancelled = nullptr;
    callbacks_->waiting.clear();
}

TIconRequest TIconLookup::Submit(TIconJob job, Done done) {
    static std::atomic<uint64_t> lastTicket{0};
    job.ticket = ++lastTicket;
    callbacks_->waiting.emplace(job.ticket, std::move(done));
    const uint64_t ticket = job.ticket;
    // The workers start only when the handler that asks has returned: a
    // lookup running beside it (under Wine each call of either goes through
    // the one wineserver) would slow the handler, and a fill asking for
    // hundreds of icons hands them over at once.
    unsent_.push_back(std::move(job));
    if (!sendPosted_)
        sendPosted_ = PostMessageW(sink_.get(), WM_ICONSASKED, 0, 0) != FALSE;
    if (!sendPosted_)
        SendToWorkers();
    return TIconRequest(callbacks_, ticket);
}

void TIconLookup::SendToWorkers() {
    sendPosted_ = false;
    if (unsent_.empty())
        return;
    int toStart = 0;
    {
        std::lock_guard lock(shared_->mutex);
        for (TIconJob& job : unsent_)
            shared_->jobs.push_back(std::move(job));
        // Workers for the jobs no idle worker takes, up to the limit; a
        // short queue only needs one running. (One stuck in a slow lookup
        // gets a spare beside it from the stuck check.)
        const int waiting = static_cast<int>(shared_->jobs.size()) - shared_->idle;
        const int limit =
            shared_->jobs.size() > kOneWorkersJobs ? workerLimit_ : std::min(workerLimit_, 1);
        toStart = std::clamp(waiting, 0, std::max(limit - shared_->alive, 0));
        shared_->alive += toStart;
    }
    unsent_.clear();
    shared_->wake.notify_all();
    // A worker that cannot be made leaves its jobs queued: the next request,
    // or the stuck check, tries again.
    for (int i = 0; i < toStart; ++i) {
        if (!Guarded("TIconLookup.StartWorker", FailurePolicy::LogAndContinue,
                     [&] { StartWorker(); })) {
            std::lock_guard lock(shared_->mutex);
            shared_->alive -= toStart - i - 1;
            break;
        }
    }
}

TIconRequest TIconLookup::FileIcon(const std::string& path, bool small, Done done) {
    TIconJob job;
    job.path = path;
    job.small = small;
    return Submit(std::move(job), std::move(done));
}

TIconRequest TIconLookup::WindowIcon(HWND window, uintptr_t known, Done done) {
    TIconJob job;
    job.window = true;
    job.hwnd = window;
    job.known = known;
    return Submit(std::move(job), std::move(done));
}

TIconRequest TIconLookup::Text(std::function<std::string()> look, Done done) {
    TIconJob job;
    job.text = std::move(look);
    return Submit(std::move(job), std::move(done));
}

void TIconLookup::SetDelay(std::chrono::milliseconds delay) {
    shared_->delayMs = delay.count();
}

size_t TIconLookup::CachedIcons() const {
    return shared_->cache.Count();
}

size_t TIconLookup::Waiting() const {
    return callbacks_->waiting.size();
}

void TIconLookup::DeliverArrived() {
    std::vector<std::pair<uint64_t, TIconFound>> batch;
    {
        std::lock_guard lock(shared_->mutex);
        const size_t count = std::min(shared_->arrived.size(), kDeliveredAtOnce);
        std::move(shared_->arrived.begin(), shared_->arrived.begin() + count,
                  std::back_inserter(batch));
        shared_->arrived.erase(shared_->arrived.begin(), shared_->arrived.begin() + count);
        shared_->posted = !shared_->arrived.empty() && shared_->sink &&
                          PostMessageW(shared_->sink, WM_ICONSARRIVED, 0, 0);
    }
    for (auto& [ticket, found] : batch) {
        auto waiting = callbacks_->waiting.find(ticket);
        // A cancelled request: what its lookup made goes with `found`.
        if (waiting == callbacks_->waiting.end())
            continue;
        Done done = std::move(waiting->second);
        callbacks_->waiting.erase(waiting);
        Guarded("TIconLookup.Deliver", FailurePolicy::LogAndContinue, [&] { done(found); });
    }
}

TIconLookup& IconLookup() {
    static TIconLookup lookup;
    return lookup;
}

// ---- own icons of a view ----

void TOwnIcons::Ask(const std::string& path, bool small, std::function<void(HICON)> apply) {
    requests_.push_back(
        IconLookup().FileIcon(path, small, [this, apply = std::move(apply)](TIconFound& found) {
            if (!found.icon)
                return;
            kept_.push_back(found.icon);
            apply(found.icon->get());
        }));
}

void TOwnIcons::Clear() {
    requests_.clear();
    kept_.clear();
}

} // namespace orvane
