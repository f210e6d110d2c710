#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include <sys/stat.h>

#include "platform/interfaces/defaults_lock.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "services/persistence/file_lock_table.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

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
// (confirmHeld()) before it lets a save land. Anything at the name a writer
// cannot lock (a link, dangling or not, a folder, a FIFO, a regular file it
// may not open: left by root, or made mode 000) is replaced by an empty
// regular file, never followed: a lock no writer could take would let
// every save run unlocked, or none run at all. What can be neither locked
// nor replaced (a folder something is mounted on) fails the taking with
// the reason: no save runs without the lock.
//
// A regular file this process may not open may be held all the same, by a
// process that may (root's command in the user's folder): it is replaced
// only once the kernel's table of locks shows nobody holding it, and
// waited for like any held lock until then; a table that cannot be read
// fails the taking, saying so. Replacers take turns through an flock on the
// folder, and the one whose turn it is looks at the name again, so none
// replaces the file another has just put there. A holder needs no turn to
// take the file it can open, so one may take it between the look at the
// table and the rename: the replacement is locked before it is put at the
// name, and the replacer looks again at the file it displaced, holding on
// until whoever took that one lets go. The holder meanwhile finds its file
// no longer at the name at its next look, and takes the new one (after the
// replacer) if it has not yet let its save land; if it has, its record is
// in place before the replacer reads. What the table does not list (see
// FileLockTable) is not seen held.
//
// Files are told apart by their numbers, which a file system that does not
// keep them (a number told differently from one look to the next) makes
// meaningless: there the taking fails at once, saying so, rather than
// waiting for a holder there is not.
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
        // It was not, and the lock could not be had again (lossReason()).
        lost,
    };
    // How often one taking replaces what stands at the name before it
    // gives up (a tool that keeps putting back what cannot be locked).
    static constexpr int kReplacementsPerTaking = 8;

    // The number of a file as a look at it tells it: the file system's,
    // unless a test plays one that tells another number at every look.
    using FileNumberCall = std::function<ino_t(ino_t told)>;
    // Whether a process holds a lock on a file: the kernel's table, unless
    // a test plays one.
    using LockTableCall = std::function<FileLockTable::Answer(const FileLockTable::File&)>;

    // Makes the folder unless it is there; false when there is none to
    // lock (no location known, or it cannot be made).
    using MakeFolder = std::function<bool()>;

    // The path that reaches the folder now, valid while the pointer lives
    // (a folder held open, its links judged: HeldFolder); none where the
    // folder is not made. Without one, the folder's own path.
    using ReachCall = std::function<std::shared_ptr<const std::filesystem::path>()>;

    // `makeFolder` is called before the lock file is taken, never before
    // it is only tried. The lock file is reached through `reach`; messages
    // name it in `folder`.
    DefaultsLockFile(std::filesystem::path folder, MakeFolder makeFolder, ReachCall reach = {});
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
    // The lock is held elsewhere: by Quorvane where that is known.
    DefaultsStoreError lockHeldError() const;
    // Why confirmHeld() last found the lock lost.
    DefaultsStoreError lossReason() const;

    // Set before the lock is shared with another thread.
    void setFileNumberCall(FileNumberCall call) { fileNumber_ = std::move(call); }
    // Set before the lock is shared with another thread.
    void setLockTableCall(LockTableCall call) { lockTable_ = std::move(call); }

  private:
    struct WaitLimit {
        Duration limit;
        std::shared_ptr<const Clock> clock;
        std::shared_ptr<Sleeper> sleeper;
    };

    enum class Flock { taken, heldElsewhere, unsupported };
    // Whether the lock file's name still leads to a locked file.
    enum class Naming { same, other, untellable };
    // Why a taking failed; none when the lock is held (or there is none).
    using Refusal = std::optional<DefaultsStoreError>;
    // How long a taking waits for another process: until a time on the
    // wait's clock, for ever without one, or not at all when it only tries.
    struct Patience {
        std::optional<MonotonicTime> until;
        bool trying = false;
    };
    // What a taking that found the name unlockable got: the lock on the
    // file it put there; none when the name may be opened again (or, for a
    // try, nothing is there); or why it may not go on.
    struct Replacement {
        UniqueFileDescriptor locked{-1};
        Refusal refusal;
    };

    // Fails when another process kept the lock past the wait limit, or the
    // lock file can be neither locked nor replaced.
    Refusal acquireLockFile();
    // Fails when another process holds the lock now, or the lock file can
    // be neither locked nor replaced.
    Refusal tryLockFile();
    // Holding mutex_: takes the lock file with `lockFile` unless this
    // process holds it already (an exclusive taking inside a hold that has
    // no file takes it too); on failure lets mutex_ go again.
    DefaultsLock holdLock(Refusal (DefaultsLockFile::*lockFile)(), bool exclusive);
    // How long a taking from now may wait: until the wait limit's end,
    // when there is one.
    Patience patience(bool trying) const;
    // Whether `patience` is over; if not, pauses before the next try.
    bool waitedOut(const Patience& patience) const;
    // flock(LOCK_EX) on `fd`, waiting as `patience` allows.
    Flock lockUntil(int fd, const Patience& patience) const;
    // Opens the regular file at the lock file's name, made with `create`
    // where there is none, never following a link; -1 with errno where it
    // cannot (ENOENT: nothing there; ELOOP: something other than a regular
    // file; EACCES: a file this process may not open).
    int openLockFile(bool create) const;
    // Puts an empty regular file, locked, where what stands at the name
    // cannot be locked and nobody holds it, or where there is nothing and
    // `makeWhereNone`.
    Replacement replaceUnlockable(bool makeWhereNone, const Patience& patience) const;
    // Waits until nobody holds `file`, a regular file the name led to.
    Refusal waitUntilFree(const FileLockTable::File& file, const Patience& patience) const;
    FileLockTable::Answer holdingOf(const FileLockTable::File& file) const;
    // Whether the name still leads to `fd`'s file, a regular one with a name.
    Naming namesLockedFile(int fd) const;
    // Whether looking twice at `fd`'s file, and at the name's, tells the
    // same numbers.
    bool numbersHold(int fd) const;
    ino_t numberOf(const struct stat& info) const;
    bool heldByQuorvane() const;
    // The folder as reached now (see ReachCall); none where not made.
    std::shared_ptr<const std::filesystem::path> reached() const;
    DefaultsStoreError unlockableError(int error) const;
    DefaultsStoreError unlockableError(std::string why) const;
    DefaultsStoreError untellableError() const;
    void releaseLock();

    std::filesystem::path folder_;
    MakeFolder makeFolder_;
    ReachCall reach_;
    // The flock is held while depth_ > 0.
    std::recursive_mutex mutex_;
    int depth_ = 0;
    int fd_ = -1;
    // The lock file was found replaced while held, and the lock could not
    // be had again, for this reason: nothing is held until it is.
    Refusal lost_;
    std::optional<WaitLimit> wait_;
    FileNumberCall fileNumber_;
    LockTableCall lockTable_;
};

}  // namespace quorvane
