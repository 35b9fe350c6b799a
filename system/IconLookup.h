#pragma once
// Own icons looked up off the GUI thread. Anything that may touch the disk,
// the network or another process (a program's icon, a shortcut's target, a
// drive's root, a window's answer to WM_GETICON) is asked of a small pool of
// worker threads; what they find comes back to the thread that made the
// service, inside its message loop. The entry meanwhile shows its type icon.
//
// Results are shared icons: the cache keeps one, every entry that shows it
// another reference; the icon goes with the last of them. A request that is
// dropped before its result arrives (its entry went) is cancelled: the result
// is thrown away on arrival, and with it whatever the lookup made.
#include "base/Win32Handles.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

// An icon several holders share; destroyed with the last of them.
using SharedIcon = std::shared_ptr<const UniqueIcon>;

SharedIcon ShareIcon(UniqueIcon icon);
// Shared icons alive in the process (a leak check for tests).
size_t LiveSharedIcons();

// What a lookup found. A null icon means nothing of its own: the entry keeps
// its type icon.
struct TIconFound {
    SharedIcon icon;
    // Window lookups: the icon as a 16 x 16 picture, made off the GUI thread.
    UniqueBitmap glyph;
    // Window lookups: a summary of the icon handles the window answered; the
    // next lookup given it reports `unchanged` instead of looking again.
    uintptr_t signature = 0;
    bool unchanged = false;
    // Text lookups: what the work returned.
    std::string text;
};

// A cached lookup: the file, the icon's place in it, its size and the file's
// time of last change (a changed file is looked up anew).
struct TIconKey {
    std::string path;
    int index = 0;
    bool small = true;
    uint64_t fileTime = 0;
};

// A bounded cache of looked-up icons; the least recently used goes first.
// Safe to use from any thread.
class TIconCache {
  public:
    explicit TIconCache(size_t limit);
    // The icon cached under `key` (null when the file was found to have none);
    // nothing when the key is not cached.
    std::optional<SharedIcon> Find(const TIconKey& key);
    void Put(const TIconKey& key, SharedIcon icon);
    size_t Count() const;
    size_t Limit() const { return limit_; }

  private:
    static std::string Text(const TIconKey& key);

    const size_t limit_;
    mutable std::mutex mutex_;
    std::list<std::pair<std::string, SharedIcon>> order_;
    std::unordered_map<std::string, std::list<std::pair<std::string, SharedIcon>>::iterator>
        entries_;
};

class TIconLookup;
struct TIconJob;

// One pending lookup. Dropping or resetting it cancels the lookup: its
// callback never runs, and what the lookup made is freed when it arrives.
class TIconRequest {
  public:
    TIconRequest() = default;
    TIconRequest(TIconRequest&& other) noexcept;
    TIconRequest& operator=(TIconRequest&& other) noexcept;
    TIconRequest(const TIconRequest&) = delete;
    TIconRequest& operator=(const TIconRequest&) = delete;
    ~TIconRequest() { Cancel(); }

    void Cancel();
    // Whether the result is still to come.
    bool Pending() const;

  private:
    friend class TIconLookup;
    struct Callbacks;
    TIconRequest(std::weak_ptr<Callbacks> callbacks, uint64_t ticket)
        : callbacks_(std::move(callbacks)), ticket_(ticket) {}

    std::weak_ptr<Callbacks> callbacks_;
    uint64_t ticket_ = 0;
};

class TIconLookup {
  public:
    struct TOptions {
        int workers = 2;
        size_t cacheLimit = 512;
        // How long a window may take to answer WM_GETICON.
        unsigned windowTimeoutMs = 200;
        // A worker with nothing to do for this long ends; the next lookup
        // starts one again. Idle, the shell keeps no thread for lookups.
        unsigned idleMs = 2000;
    };
    // Runs on the GUI thread when the result arrives.
    using Done = std::function<void(TIconFound&)>;

    // Made on the GUI thread: results come back to it.
    TIconLookup();
    explicit TIconLookup(TOptions options);
    TIconLookup(const TIconLookup&) = delete;
    TIconLookup& operator=(const TIconLookup&) = delete;
    // Stops the workers; one stuck in a lookup that never returns is left
    // behind (it holds nothing of this object's) instead of waited for.
    ~TIconLookup();

    // The own icon of a file: a program's or an icon file's first icon, a
    // drive root's icon, for a shortcut the icon location it names or else
    // its target's icon. A shortcut whose target is gone, and any other file,
    // find none.
    [[nodiscard]] TIconRequest FileIcon(const std::string& path, bool small, Done done);
    // The window's own small icon: its answer to WM_GETICON (small, then
    // large), its class's icons, its program file's icon. `known` is the
    // signature of a previous lookup, 0 for none.
    [[nodiscard]] TIconRequest WindowIcon(HWND window, uintptr_t known, Done done);
    // Any other slow question whose answer is a text (a drive's label, a
    // network drive's remote name): `look` runs on a worker, the answer
    // arrives in `found.text`. `look` must not touch the GUI thread's state.
    [[nodiscard]] TIconRequest Text(std::function<std::string()> look, Done done);

    // Test hook: every lookup first waits this long, as on a slow share.
    void SetDelay(std::chrono::milliseconds delay);
    size_t CachedIcons() const;
    // Callbacks whose results have not arrived yet.
    size_t Waiting() const;
    // Hands out the results that arrived; the message loop does this by itself.
    void DeliverArrived();
    // Gives the workers what was asked for since the last call; the message
    // loop does this once the handler that asked has returned.
    void SendToWorkers();
    // Starts one more worker when every worker has been inside a lookup for a
    // while and others wait; the message loop does this once a second, and
    // lets go of the handles of workers that ended.
    void AddWorkerIfStuck();
    // Workers running now (idle ones end after `TOptions::idleMs`).
    size_t Workers() const;

    // What the workers share with the GUI thread; a worker left behind keeps
    // it alive.
    struct Shared;

  private:
    TIconRequest Submit(TIconJob job, Done done);
    // The caller counted the worker as running beforehand.
    void StartWorker();
    void ForgetEndedWorkers();

    std::shared_ptr<Shared> shared_;
    const int workerLimit_;
    std::shared_ptr<TIconRequest::Callbacks> callbacks_;
    std::vector<UniqueHandle> workers_;
    std::vector<TIconJob> unsent_;
    bool sendPosted_ = false;
    UniqueWindow sink_;
};

// The shell's lookup service, made at the first call (on the GUI thread).
TIconLookup& IconLookup();

// The own icons of the entries of one view: asked for by entry, kept until
// Clear or until the view goes.
class TOwnIcons {
  public:
    TOwnIcons() = default;
    // The pending requests point back at this object: it stays in place.
    TOwnIcons(const TOwnIcons&) = delete;
    TOwnIcons& operator=(const TOwnIcons&) = delete;

    // `apply` runs on the GUI thread when `path` has an icon of its own.
    void Ask(const std::string& path, bool small, std::function<void(HICON)> apply);
    // Cancels what is pending and frees what arrived.
    void Clear();
    size_t Kept() const { return kept_.size(); }

  private:
    std::vector<TIconRequest> requests_;
    std::vector<SharedIcon> kept_;
};

} // namespace orvane
