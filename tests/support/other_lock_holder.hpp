#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

namespace quorvane::testing {

// The settings lock as another process holds it: an flock on a separate
// open of the lock file, which this process's store cannot take while it
// lasts (a stopped or hung Quorvane keeps it this way).
class OtherLockHolder {
  public:
    explicit OtherLockHolder(const std::filesystem::path& lockFile)
        : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~OtherLockHolder() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OtherLockHolder(const OtherLockHolder&) = delete;
    OtherLockHolder& operator=(const OtherLockHolder&) = delete;

    bool held() const { return held_; }
    void release() {
        ::flock(fd_, LOCK_UN);
        held_ = false;
    }

  private:
    int fd_;
    bool held_ = false;
};

}  // namespace quorvane::testing
