#include "services/persistence/defaults_lock_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quorvane {

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
    if (depth_ == 0 && !(this->*lockFile)()) {
        mutex_.unlock();
        return DefaultsLock::notTaken(lockHeldError());
    }
    ++depth_;
    return DefaultsLock([this] { releaseLock(); });
}

// Makes neither the folder nor the lock file: a folder being removed must
// not come back under the remover's hands, and where there is no lock file
// nobody holds the lock.
bool DefaultsLockFile::tryLockFile() {
    const auto path = folder_ / kFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return true;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK) {
            ::close(fd);
            return false;
        }
        break;  // flock itself failed: as without a lock file
    }
    fd_ = fd;
    return true;
}

DefaultsStoreError DefaultsLockFile::lockHeldError() const {
    return {DefaultsStoreError::Kind::lockHeld, (folder_ / kFileName).string(), {}};
}

bool DefaultsLockFile::acquireLockFile() {
    if (!makeFolder_())
        return true;
    const auto path = folder_ / kFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    // A folder we may not write in can still hold a lock file we may read;
    // the write itself will report the folder.
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return true;
    if (!lockWithinLimit(fd)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool DefaultsLockFile::lockWithinLimit(int fd) const {
    if (!wait_) {
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        return true;
    }
    const auto deadline = wait_->clock->monotonicNow() + wait_->limit;
    while (true) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true;  // flock itself failed: as without a lock file
        if (wait_->clock->monotonicNow() >= deadline)
            return false;
        wait_->sleeper->sleepFor(kRetryInterval);
    }
}

void DefaultsLockFile::releaseLock() {
    if (--depth_ == 0 && fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    mutex_.unlock();
}

}  // namespace quorvane
