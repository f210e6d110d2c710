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
//
// A lock counts only while its file is still the one at the name: a lock
// file removed (someone tidying the folder) or replaced (a sync tool putting
// its own copy there) keeps no other writer out. So a taker checks, once it
// holds the flock, that the name still leads to the very file it locked,
// and takes the lock again where it does not; and a holder confirms it
// (confirmHeld()) before it lets a save land. Anything but a regular file at
// the name (a link, dangling or not, a folder, a FIFO) is replaced by an
// empty regular file, never followed: a lock no writer could take would let
// every save run unlocked, or none run at all.
class DefaultsLockFile {
  public:
    static constexpr std::string_view kFileName = ".lock";
    static constexpr Duration kRetryInterval = std::chrono::milliseconds(10);

    // What confirmHeld() found.
    enum class Hold {
        // The lock file is still the one locked (or there is none to lock).
        kept,
        // It was not: the lock is held again, on the file now at the name.
        retaken,
        // It was not, and another process kept the new one past the wait.
        lost,
    };

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

    // For a thread that holds the lock: whether its lock file is still the
    // one at the name, taking the lock again (waiting as lockExclusively()
    // does) where it is not.
    Hold confirmHeld();
    // Whether the thread holds the lock more than once: a caller holds it
    // around the hold being asked about.
    bool heldAround();
    DefaultsStoreError lockHeldError() const;

  private:
    struct WaitLimit {
        Duration limit;
        std::shared_ptr<const Clock> clock;
        std::shared_ptr<Sleeper> sleeper;
    };

    enum class Flock { taken, heldElsewhere, unsupported };

    // False when another process kept the lock past the wait limit.
    bool acquireLockFile();
    // False when another process holds the lock now.
    bool tryLockFile();
    // Holding mutex_: takes the lock file with `lockFile` unless this
    // process holds it already; on failure lets mutex_ go again.
    DefaultsLock holdLock(bool (DefaultsLockFile::*lockFile)());
    // The wait limit's end from now, when there is one.
    std::optional<MonotonicTime> deadline() const;
    // flock(LOCK_EX) on `fd`, waiting until `deadline` (for ever without).
    Flock lockUntil(int fd, std::optional<MonotonicTime> deadline) const;
    // Opens the regular file at the lock file's name, made with `create`
    // where there is none, never following a link; -1 where there is no
    // regular file there (nor one could be made).
    int openLockFile(bool create) const;
    // Puts an empty regular file where something else stands at the name;
    // false when another writer doing so kept its turn past `deadline`.
    // Writers take turns through an flock on the folder, so one never
    // replaces the file another has just locked.
    bool replaceOtherThanRegularFile(std::optional<MonotonicTime> deadline) const;
    // Whether the name still leads to `fd`'s file, a regular one with a name.
    bool namesLockedFile(int fd) const;
    void releaseLock();

    std::filesystem::path folder_;
    MakeFolder makeFolder_;
    // The flock is held while depth_ > 0.
    std::recursive_mutex mutex_;
    int depth_ = 0;
    int fd_ = -1;
    // The lock file was found replaced while held, and the lock could not
    // be had again: nothing is held until it is.
    bool lost_ = false;
    std::optional<WaitLimit> wait_;
};

}  // namespace quorvane
