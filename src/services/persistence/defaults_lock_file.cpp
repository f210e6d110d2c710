#include "services/persistence/defaults_lock_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
    return holdLock(&DefaultsLockFile::acquireLockFile);
}

DefaultsLock DefaultsLockFile::tryLockExclusively() {
    if (!mutex_.try_lock())
        return DefaultsLock::notTaken(lockHeldError());
    return holdLock(&DefaultsLockFile::tryLockFile);
}

DefaultsLock DefaultsLockFile::holdLock(bool (DefaultsLockFile::*lockFile)()) {
    // A hold whose file was replaced and could not be had again holds
    // nothing: one taken inside it must take the file itself.
    if ((depth_ == 0 || lost_) && !(this->*lockFile)()) {
        mutex_.unlock();
        return DefaultsLock::notTaken(lockHeldError());
    }
    lost_ = false;
    ++depth_;
    return DefaultsLock([this] { releaseLock(); });
}

DefaultsLockFile::Hold DefaultsLockFile::confirmHeld() {
    std::lock_guard guard(mutex_);
    if (depth_ == 0 || (fd_ < 0 && !lost_) || (fd_ >= 0 && namesLockedFile(fd_)))
        return Hold::kept;
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    lost_ = !acquireLockFile();
    return lost_ ? Hold::lost : Hold::retaken;
}

bool DefaultsLockFile::heldAround() {
    std::lock_guard guard(mutex_);
    return depth_ > 1;
}

// Makes neither the folder nor the lock file, nor replaces what is not one:
// a folder being removed must not come back under the remover's hands, and
// where there is no lock file nobody holds the lock (a writer replaces
// anything else before it locks).
bool DefaultsLockFile::tryLockFile() {
    while (true) {
        const int fd = openLockFile(false);
        if (fd < 0)
            return true;
        int result = 0;
        while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (result != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            return false;
        }
        // flock itself failed: as without a lock file.
        if (result != 0 || namesLockedFile(fd)) {
            fd_ = fd;
            return true;
        }
        ::close(fd);
    }
}

DefaultsStoreError DefaultsLockFile::lockHeldError() const {
    return {DefaultsStoreError::Kind::lockHeld, (folder_ / kFileName).string(), {}};
}

bool DefaultsLockFile::acquireLockFile() {
    if (!makeFolder_())
        return true;
    const auto until = deadline();
    while (true) {
        if (!replaceOtherThanRegularFile(until))
            return false;
        const int fd = openLockFile(true);
        // A folder we may not write in can still hold a lock file we may read;
        // the write itself will report the folder.
        if (fd < 0)
            return true;
        const auto taken = lockUntil(fd, until);
        if (taken == Flock::heldElsewhere) {
            ::close(fd);
            return false;
        }
        if (taken == Flock::unsupported || namesLockedFile(fd)) {
            fd_ = fd;
            return true;
        }
        // Removed or replaced before it was locked: the file at the name
        // now is the lock. One that keeps changing is waited on as a held one.
        ::close(fd);
        if (until && wait_->clock->monotonicNow() >= *until)
            return false;
        if (wait_)
            wait_->sleeper->sleepFor(kRetryInterval);
    }
}

int DefaultsLockFile::openLockFile(bool create) const {
    const auto path = folder_ / kFileName;
    if (holdsOtherThanRegularFile(path))
        return -1;
    const int fd = ::open(path.c_str(), O_RDWR | kOpenFlags | (create ? O_CREAT : 0), 0600);
    return fd >= 0 ? fd : ::open(path.c_str(), O_RDONLY | kOpenFlags);
}

bool DefaultsLockFile::replaceOtherThanRegularFile(std::optional<MonotonicTime> until) const {
    const auto path = folder_ / kFileName;
    if (!holdsOtherThanRegularFile(path))
        return true;
    UniqueFileDescriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid() && lockUntil(folder.get(), until) == Flock::heldElsewhere)
        return false;
    // Another writer may have replaced it while this one waited its turn. A
    // folder that cannot be moved aside, or a folder we may not write in,
    // leaves nothing to lock, as where no lock file can be made.
    if (!holdsOtherThanRegularFile(path) || moveFolderAside(path) != 0)
        return true;
    std::string temporary = (folder_ / (std::string(kFileName) + ".XXXXXX")).string();
    UniqueFileDescriptor made(::mkostemp(temporary.data(), O_CLOEXEC));
    if (made.valid() && ::rename(temporary.c_str(), path.c_str()) != 0)
        ::unlink(temporary.c_str());
    return true;
}

bool DefaultsLockFile::namesLockedFile(int fd) const {
    struct stat locked {};
    struct stat named {};
    return ::fstat(fd, &locked) == 0 && S_ISREG(locked.st_mode) && locked.st_nlink > 0 &&
           ::lstat((folder_ / kFileName).c_str(), &named) == 0 && named.st_dev == locked.st_dev &&
           named.st_ino == locked.st_ino;
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
        lost_ = false;
    }
    mutex_.unlock();
}

}  // namespace quorvane
