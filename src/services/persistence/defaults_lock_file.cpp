#include "services/persistence/defaults_lock_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
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

}  // namespace

DefaultsLockFile::DefaultsLockFile(std::filesystem::path folder, MakeFolder makeFolder)
    : folder_(std::move(folder)), makeFolder_(std::move(makeFolder)) {}

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
// process may not open may be another's lock, so it is replaced, as a
// writer would, before it is locked.
DefaultsLockFile::Refusal DefaultsLockFile::tryLockFile() {
    for (int replaced = 0;;) {
        const int fd = openLockFile(false);
        if (fd < 0) {
            const int error = errno;
            if (error != EACCES && error != EPERM)
                return std::nullopt;
            if (++replaced > kReplacementsPerTaking)
                return unlockableError(error);
            if (auto refused = replaceUnlockable(false, deadline()))
                return refused;
            continue;
        }
        int result = 0;
        while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (result != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            return lockHeldError();
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
    return {DefaultsStoreError::Kind::lockHeld, (folder_ / kFileName).string(), {}};
}

DefaultsStoreError DefaultsLockFile::unlockableError(int error) const {
    return {DefaultsStoreError::Kind::lockUnusable, (folder_ / kFileName).string(),
            std::strerror(error)};
}

DefaultsStoreError DefaultsLockFile::untellableError() const {
    return {DefaultsStoreError::Kind::lockUnverifiable, (folder_ / kFileName).string(), {}};
}

DefaultsLockFile::Refusal DefaultsLockFile::acquireLockFile() {
    if (!makeFolder_())
        return std::nullopt;
    const auto until = deadline();
    for (int replaced = 0;;) {
        const int fd = openLockFile(true);
        if (fd < 0) {
            const int error = errno;
            if (++replaced > kReplacementsPerTaking)
                return unlockableError(error);
            if (auto refused = replaceUnlockable(true, until))
                return refused;
            continue;
        }
        const auto taken = lockUntil(fd, until);
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
        if (until && wait_->clock->monotonicNow() >= *until)
            return lockHeldError();
        if (wait_)
            wait_->sleeper->sleepFor(kRetryInterval);
    }
}

int DefaultsLockFile::openLockFile(bool create) const {
    const auto path = folder_ / kFileName;
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

DefaultsLockFile::Refusal DefaultsLockFile::replaceUnlockable(
    bool makeWhereNone, std::optional<MonotonicTime> until) const {
    const auto path = folder_ / kFileName;
    UniqueFileDescriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid() && lockUntil(folder.get(), until) == Flock::heldElsewhere)
        return lockHeldError();
    // Another writer may have replaced it while this one waited its turn.
    if (UniqueFileDescriptor opened(openLockFile(false)); opened.valid())
        return std::nullopt;
    const int error = errno;
    if (error == ENOENT && !makeWhereNone)
        return std::nullopt;
    if (const int stays = moveFolderAside(path); stays != 0)
        return unlockableError(stays);
    std::string temporary = (folder_ / (std::string(kFileName) + ".XXXXXX")).string();
    UniqueFileDescriptor made(::mkostemp(temporary.data(), O_CLOEXEC));
    // A folder that takes no new file takes no save either: it is what to
    // report, as for a lock file that could not be made.
    if (!made.valid())
        return DefaultsStoreError::fromErrno(errno, folder_.string());
    if (::rename(temporary.c_str(), path.c_str()) == 0)
        return std::nullopt;
    const int refused = errno;
    ::unlink(temporary.c_str());
    return unlockableError(refused);
}

DefaultsLockFile::Naming DefaultsLockFile::namesLockedFile(int fd) const {
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd, &locked) != 0 || !S_ISREG(locked.st_mode) || locked.st_nlink == 0 ||
        ::lstat((folder_ / kFileName).c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return Naming::other;
    if (named.st_dev == locked.st_dev && numberOf(named) == numberOf(locked))
        return Naming::same;
    // Another number tells another file only where numbers hold.
    return numbersHold(fd) ? Naming::other : Naming::untellable;
}

bool DefaultsLockFile::numbersHold(int fd) const {
    const auto path = folder_ / kFileName;
    struct stat looks[4]{};
    if (::fstat(fd, &looks[0]) != 0 || ::fstat(fd, &looks[1]) != 0 ||
        ::lstat(path.c_str(), &looks[2]) != 0 || ::lstat(path.c_str(), &looks[3]) != 0)
        return true;
    return numberOf(looks[0]) == numberOf(looks[1]) && numberOf(looks[2]) == numberOf(looks[3]);
}

ino_t DefaultsLockFile::numberOf(const struct stat& info) const {
    return fileNumber_ ? fileNumber_(info.st_ino) : info.st_ino;
}

std::optional<MonotonicTime> DefaultsLockFile::deadline() const {
    if (!wait_)
        return std::nullopt;
    return wait_->clock->monotonicNow() + wait_->limit;
}

DefaultsLockFile::Flock DefaultsLockFile::lockUntil(int fd,
                                                    std::optional<MonotonicTime> until) const {
    if (!until) {
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR)
                return Flock::unsupported;
        }
        return Flock::taken;
    }
    while (true) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Flock::taken;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Flock::unsupported;
        if (wait_->clock->monotonicNow() >= *until)
            return Flock::heldElsewhere;
        wait_->sleeper->sleepFor(kRetryInterval);
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
