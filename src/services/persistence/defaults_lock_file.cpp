#include "services/persistence/defaults_lock_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

#include "services/persistence/folder_aside.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

// Never follows a link, never waits on a FIFO, never takes a terminal.
constexpr int kOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool holdsOtherThanRegularFile(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

// The regular file at `path` as the table of locks names it; none for
// anything else, which no writer could have locked.
std::optional<FileLockTable::File> regularFileAt(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileLockTable::fileAt(path);
}

}  // namespace

DefaultsLockFile::DefaultsLockFile(std::filesystem::path folder, MakeFolder makeFolder,
                                   ReachCall reach)
    : folder_(std::move(folder)), makeFolder_(std::move(makeFolder)), reach_(std::move(reach)) {}

std::shared_ptr<const std::filesystem::path> DefaultsLockFile::reached() const {
    return reach_ ? reach_() : std::make_shared<const std::filesystem::path>(folder_);
}

DefaultsLockFile::~DefaultsLockFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

void DefaultsLockFile::limitWait(Duration limit, std::shared_ptr<const Clock> clock,
                                 std::shared_ptr<Sleeper> sleeper) {
    wait_ = WaitLimit{limit, std::move(clock), std::move(sleeper)};
}

DefaultsLock DefaultsLockFile::lockExclusively() {
    mutex_.lock();
    return holdLock(&DefaultsLockFile::acquireLockFile, true);
}

DefaultsLock DefaultsLockFile::tryLockExclusively() {
    if (!mutex_.try_lock())
        return DefaultsLock::notTaken(lockHeldError());
    return holdLock(&DefaultsLockFile::tryLockFile, false);
}

DefaultsLock DefaultsLockFile::holdLock(Refusal (DefaultsLockFile::*lockFile)(), bool exclusive) {
    // A hold whose file was replaced and could not be had again holds
    // nothing: one taken inside it must take the file itself. So must a
    // save inside a try that found no lock file to hold.
    if (depth_ == 0 || lost_ || (exclusive && fd_ < 0)) {
        if (auto refused = (this->*lockFile)()) {
            mutex_.unlock();
            return DefaultsLock::notTaken(std::move(*refused));
        }
    }
    lost_.reset();
    ++depth_;
    return DefaultsLock([this] { releaseLock(); });
}

DefaultsLockFile::Hold DefaultsLockFile::confirmHeld() {
    std::lock_guard guard(mutex_);
    if (depth_ == 0 || (fd_ < 0 && !lost_))
        return Hold::kept;
    if (fd_ >= 0) {
        const auto naming = namesLockedFile(fd_);
        if (naming == Naming::same)
            return Hold::kept;
        ::close(std::exchange(fd_, -1));
        if (naming == Naming::untellable) {
            lost_ = untellableError();
            return Hold::lost;
        }
    }
    lost_ = acquireLockFile();
    return lost_ ? Hold::lost : Hold::retaken;
}

bool DefaultsLockFile::heldAround() {
    std::lock_guard guard(mutex_);
    return depth_ > 1;
}

DefaultsStoreError DefaultsLockFile::lossReason() const {
    return lost_.value_or(lockHeldError());
}

// Makes neither the folder nor the lock file, nor replaces what is not a
// regular file: a folder being removed must not come back under the
// remover's hands, and where there is no lock file nobody holds the lock
// (a writer replaces anything else before it locks). A regular file this
// process may not open may be another's lock: held, the try fails as on
// any held lock; else it is replaced, as a writer would, and locked. A try
// never waits, not even for another replacer's turn.
DefaultsLockFile::Refusal DefaultsLockFile::tryLockFile() {
    const auto once = patience(true);
    for (int replaced = 0;;) {
        int fd = openLockFile(false);
        int result = 0;
        if (fd < 0) {
            const int error = errno;
            if (error != EACCES && error != EPERM)
                return std::nullopt;
            if (++replaced > kReplacementsPerTaking)
                return unlockableError(error);
            auto replacement = replaceUnlockable(false, once);
            if (replacement.refusal)
                return std::move(replacement.refusal);
            if (!replacement.locked.valid())
                continue;
            fd = replacement.locked.release();
        } else {
            while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
            }
            if (result != 0 && errno == EWOULDBLOCK) {
                ::close(fd);
                return lockHeldError();
            }
        }
        // flock itself failed: as without a lock file.
        const auto naming = result != 0 ? Naming::same : namesLockedFile(fd);
        if (naming == Naming::same) {
            fd_ = fd;
            return std::nullopt;
        }
        ::close(fd);
        if (naming == Naming::untellable)
            return untellableError();
    }
}

DefaultsStoreError DefaultsLockFile::lockHeldError() const {
    DefaultsStoreError error{
        DefaultsStoreError::Kind::lockHeld, (folder_ / kFileName).string(), {}};
    error.heldByQuorvane = heldByQuorvane();
    return error;
}

// A holder is told as Quorvane only where the table of locks names one of
// Quorvane's programs holding the file at the name now: any other
// program's lock on it (flock(1), a sync tool) holds it just the same.
bool DefaultsLockFile::heldByQuorvane() const {
    const auto folder = reached();
    const auto file = folder ? FileLockTable::fileAt(*folder / kFileName) : std::nullopt;
    if (!file)
        return false;
    for (const pid_t holder : FileLockTable().holders(*file)) {
        std::ifstream comm("/proc/" + std::to_string(holder) + "/comm");
        std::string name;
        if (std::getline(comm, name) && (name == "quorvane" || name == "quorvane-app"))
            return true;
    }
    return false;
}

DefaultsStoreError DefaultsLockFile::unlockableError(int error) const {
    return {DefaultsStoreError::Kind::lockUnusable, (folder_ / kFileName).string(),
            std::strerror(error)};
}

DefaultsStoreError DefaultsLockFile::unlockableError(std::string why) const {
    return {DefaultsStoreError::Kind::lockUnusable, (folder_ / kFileName).string(), std::move(why)};
}

DefaultsStoreError DefaultsLockFile::untellableError() const {
    return {DefaultsStoreError::Kind::lockUnverifiable, (folder_ / kFileName).string(), {}};
}

DefaultsLockFile::Refusal DefaultsLockFile::acquireLockFile() {
    if (!makeFolder_())
        return std::nullopt;
    const auto until = patience(false);
    for (int replaced = 0;;) {
        int fd = openLockFile(true);
        auto taken = Flock::taken;
        if (fd >= 0) {
            taken = lockUntil(fd, until);
        } else {
            const int error = errno;
            if (++replaced > kReplacementsPerTaking)
                return unlockableError(error);
            auto replacement = replaceUnlockable(true, until);
            if (replacement.refusal)
                return std::move(replacement.refusal);
            if (!replacement.locked.valid())
                continue;
            fd = replacement.locked.release();
        }
        if (taken == Flock::heldElsewhere) {
            ::close(fd);
            return lockHeldError();
        }
        const auto naming = taken == Flock::unsupported ? Naming::same : namesLockedFile(fd);
        if (naming == Naming::same) {
            fd_ = fd;
            return std::nullopt;
        }
        ::close(fd);
        if (naming == Naming::untellable)
            return untellableError();
        // Removed or replaced before it was locked: the file at the name
        // now is the lock. One that keeps changing is waited on as a held one.
        if (until.until && wait_->clock->monotonicNow() >= *until.until)
            return lockHeldError();
        if (wait_)
            wait_->sleeper->sleepFor(kRetryInterval);
    }
}

int DefaultsLockFile::openLockFile(bool create) const {
    const auto folder = reached();
    if (!folder) {
        errno = ENOENT;
        return -1;
    }
    const auto path = *folder / kFileName;
    if (holdsOtherThanRegularFile(path)) {
        errno = ELOOP;
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDWR | kOpenFlags | (create ? O_CREAT : 0), 0600);
    if (fd >= 0)
        return fd;
    // A file we may only read locks as well; why it could not be written
    // tells more than why it could not be read.
    const int error = errno;
    const int readOnly = ::open(path.c_str(), O_RDONLY | kOpenFlags);
    if (readOnly < 0 && errno != ENOENT)
        errno = error;
    return readOnly;
}

DefaultsLockFile::Replacement DefaultsLockFile::replaceUnlockable(bool makeWhereNone,
                                                                  const Patience& patience) const {
    const auto refused = [](DefaultsStoreError why) {
        Replacement replacement;
        replacement.refusal = std::move(why);
        return replacement;
    };
    const auto folder = reached();
    if (!folder)
        return makeWhereNone ? refused(DefaultsStoreError::fromErrno(ENOENT, folder_.string()))
                             : Replacement{};
    const auto path = *folder / kFileName;
    while (true) {
        UniqueFileDescriptor turn(::open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (turn.valid() && lockUntil(turn.get(), patience) == Flock::heldElsewhere)
            return refused(lockHeldError());
        // Another writer may have replaced it while this one waited its turn.
        if (UniqueFileDescriptor opened(openLockFile(false)); opened.valid())
            return {};
        const int error = errno;
        if (error == ENOENT && !makeWhereNone)
            return {};
        const auto displaced = regularFileAt(path);
        if (displaced) {
            const auto look = holdingOf(*displaced);
            if (look.holding == FileLockTable::Holding::untellable)
                return refused(unlockableError(look.why));
            if (look.holding == FileLockTable::Holding::held) {
                turn.close();
                if (waitedOut(patience))
                    return refused(lockHeldError());
                continue;
            }
        }
        if (const int stays = moveFolderAside(path); stays != 0)
            return refused(unlockableError(stays));
        std::string temporary = (*folder / (std::string(kFileName) + ".XXXXXX")).string();
        UniqueFileDescriptor made(::mkostemp(temporary.data(), O_CLOEXEC));
        // A folder that takes no new file takes no save either: it is what to
        // report, as for a lock file that could not be made.
        if (!made.valid())
            return refused(DefaultsStoreError::fromErrno(errno, folder_.string()));
        // Held from the moment it is at the name: a writer that opens it
        // there waits while the displaced file's holder finishes.
        ::flock(made.get(), LOCK_EX | LOCK_NB);
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            const int stays = errno;
            ::unlink(temporary.c_str());
            return refused(unlockableError(stays));
        }
        turn.close();
        if (displaced) {
            if (auto refusal = waitUntilFree(*displaced, patience))
                return refused(std::move(*refusal));
        }
        Replacement replacement{std::move(made), std::nullopt};
        return replacement;
    }
}

DefaultsLockFile::Refusal DefaultsLockFile::waitUntilFree(const FileLockTable::File& file,
                                                          const Patience& patience) const {
    while (true) {
        const auto look = holdingOf(file);
        if (look.holding == FileLockTable::Holding::none)
            return std::nullopt;
        if (look.holding == FileLockTable::Holding::untellable)
            return unlockableError(look.why);
        if (waitedOut(patience))
            return lockHeldError();
    }
}

FileLockTable::Answer DefaultsLockFile::holdingOf(const FileLockTable::File& file) const {
    return lockTable_ ? lockTable_(file) : FileLockTable().holding(file);
}

DefaultsLockFile::Naming DefaultsLockFile::namesLockedFile(int fd) const {
    const auto folder = reached();
    struct stat locked {};
    struct stat named {};
    if (!folder || ::fstat(fd, &locked) != 0 || !S_ISREG(locked.st_mode) || locked.st_nlink == 0 ||
        ::lstat((*folder / kFileName).c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return Naming::other;
    if (named.st_dev == locked.st_dev && numberOf(named) == numberOf(locked))
        return Naming::same;
    // Another number tells another file only where numbers hold.
    return numbersHold(fd) ? Naming::other : Naming::untellable;
}

bool DefaultsLockFile::numbersHold(int fd) const {
    const auto folder = reached();
    if (!folder)
        return true;
    const auto path = *folder / kFileName;
    struct stat looks[4]{};
    if (::fstat(fd, &looks[0]) != 0 || ::fstat(fd, &looks[1]) != 0 ||
        ::lstat(path.c_str(), &looks[2]) != 0 || ::lstat(path.c_str(), &looks[3]) != 0)
        return true;
    return numberOf(looks[0]) == numberOf(looks[1]) && numberOf(looks[2]) == numberOf(looks[3]);
}

ino_t DefaultsLockFile::numberOf(const struct stat& info) const {
    return fileNumber_ ? fileNumber_(info.st_ino) : info.st_ino;
}

DefaultsLockFile::Patience DefaultsLockFile::patience(bool trying) const {
    Patience patience;
    patience.trying = trying;
    if (wait_)
        patience.until = wait_->clock->monotonicNow() + wait_->limit;
    return patience;
}

bool DefaultsLockFile::waitedOut(const Patience& patience) const {
    if (patience.trying)
        return true;
    // A wait for ever has no clock of its own; only a file the kernel
    // cannot wait on for us (one this process may not open) comes here.
    if (!patience.until) {
        std::this_thread::sleep_for(kRetryInterval);
        return false;
    }
    if (wait_->clock->monotonicNow() >= *patience.until)
        return true;
    wait_->sleeper->sleepFor(kRetryInterval);
    return false;
}

DefaultsLockFile::Flock DefaultsLockFile::lockUntil(int fd, const Patience& patience) const {
    if (!patience.until && !patience.trying) {
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR)
                return Flock::unsupported;
        }
        return Flock::taken;
    }
    while (true) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Flock::taken;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return Flock::unsupported;
        if (!waitedOut(patience))
            continue;
        // The limit may have passed while this thread did not run (stopped,
        // or on a loaded machine) since its last try: a holder that let go
        // meanwhile leaves the lock free, which only a try after the limit
        // tells.
        if (!patience.trying && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Flock::taken;
        return Flock::heldElsewhere;
    }
}

void DefaultsLockFile::releaseLock() {
    if (--depth_ == 0) {
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));
        lost_.reset();
    }
    mutex_.unlock();
}

}  // namespace quorvane
