#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/interfaces/defaults_lock.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The lock a settings folder's writers share: processes take turns through
// an flock on the folder's lock file (".lock"), the threads of this process
// through a mutex in front of it. Taken again by the thread that holds it,
// it nests, and the flock goes when the outermost DefaultsLock does. By
// default a taker waits as long as another process holds it; with a wait
// limit it tries again every kRetryInterval until the limit passes, and then
// goes without (a stopped or hung process must not keep a command waiting
// for ever).
class DefaultsLockFile {
  public:
    static constexpr std::string_view kFileName = ".lock";
    static constexpr Duration kRetryInterval = std::chrono::milliseconds(10);

    // Makes the folder unless it is there; false when there is none to
    // lock (no location known, or it cannot be made).
    using MakeFolder = std::function<bool()>;

    // `makeFolder` is called before the lock file is taken, never before
    // it is only tried.
    DefaultsLockFile(std::filesystem::path folder, MakeFolder makeFolder);
    ~DefaultsLockFile();
    DefaultsLockFile(const DefaultsLockFile&) = delete;
    DefaultsLockFile& operator=(const DefaultsLockFile&) = delete;

    // The lock must not outlive this. Without a usable folder there is
    // nothing to lock and the returned lock holds nothing.
    DefaultsLock lockExclusively();
    // Also fails while another thread of this process holds the lock.
    DefaultsLock tryLockExclusively();

    // Waits at most `limit` for the lock from now on, measured on `clock`,
    // pausing on `sleeper` between tries. Set before the lock is shared
    // with another thread.
    void limitWait(Duration limit, std::shared_ptr<const Clock> clock,
                   std::shared_ptr<Sleeper> sleeper);

  private:
    struct WaitLimit {
        Duration limit;
        std::shared_ptr<const Clock> clock;
        std::shared_ptr<Sleeper> sleeper;
    };

    // False when another process kept the lock past the wait limit.
    bool acquireLockFile();
    // False when another process holds the lock now.
    bool tryLockFile();
    // Holding mutex_: takes the lock file with `lockFile` unless this
    // process holds it already; on failure lets mutex_ go again.
    DefaultsLock holdLock(bool (DefaultsLockFile::*lockFile)());
    // flock(LOCK_EX) within the wait limit, when there is one.
    bool lockWithinLimit(int fd) const;
    void releaseLock();
    DefaultsStoreError lockHeldError() const;

    std::filesystem::path folder_;
    MakeFolder makeFolder_;
    // The flock is held while depth_ > 0.
    std::recursive_mutex mutex_;
    int depth_ = 0;
    int fd_ = -1;
    std::optional<WaitLimit> wait_;
};

}  // namespace quorvane
