#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "platform/interfaces/defaults_store_error.hpp"

namespace quorvane {

// Holds the exclusive lock on the user's defaults for as long as it lives, so
// a read, a change and the write of it are not interleaved with another
// process's. Move-only; a default-constructed lock holds nothing. A lock that
// could not be had (another process kept it past the time a caller may
// wait) holds nothing either and says why: the caller then changes nothing.
class DefaultsLock {
  public:
    // How many times one save takes the lock anew after finding its lock
    // file replaced while held, before it gives up (a tool that keeps
    // replacing it).
    static constexpr int kTakingsPerSave = 8;

    DefaultsLock() = default;
    explicit DefaultsLock(std::function<void()> release) : release_(std::move(release)) {}
    static DefaultsLock notTaken(DefaultsStoreError why) {
        DefaultsLock lock;
        lock.failure_ = std::move(why);
        return lock;
    }
    ~DefaultsLock() {
        if (release_)
            release_();
    }
    DefaultsLock(DefaultsLock&& other) noexcept
        : release_(std::exchange(other.release_, {})),
          failure_(std::exchange(other.failure_, std::nullopt)) {}
    DefaultsLock& operator=(DefaultsLock&& other) noexcept {
        if (this != &other) {
            if (release_)
                release_();
            release_ = std::exchange(other.release_, {});
            failure_ = std::exchange(other.failure_, std::nullopt);
        }
        return *this;
    }
    DefaultsLock(const DefaultsLock&) = delete;
    DefaultsLock& operator=(const DefaultsLock&) = delete;

    // Why the lock was not taken; none when it is held (or there was
    // nothing to lock).
    const std::optional<DefaultsStoreError>& failure() const { return failure_; }

  private:
    std::function<void()> release_;
    std::optional<DefaultsStoreError> failure_;
};

}  // namespace quorvane
