#pragma once

#include <functional>
#include <utility>

namespace quorvane {

// Holds the exclusive lock on the user's defaults for as long as it lives, so
// a read, a change and the write of it are not interleaved with another
// process's. Move-only; a default-constructed lock holds nothing.
class DefaultsLock {
  public:
    DefaultsLock() = default;
    explicit DefaultsLock(std::function<void()> release) : release_(std::move(release)) {}
    ~DefaultsLock() {
        if (release_)
            release_();
    }
    DefaultsLock(DefaultsLock&& other) noexcept : release_(std::exchange(other.release_, {})) {}
    DefaultsLock& operator=(DefaultsLock&& other) noexcept {
        if (this != &other) {
            if (release_)
                release_();
            release_ = std::exchange(other.release_, {});
        }
        return *this;
    }
    DefaultsLock(const DefaultsLock&) = delete;
    DefaultsLock& operator=(const DefaultsLock&) = delete;

  private:
    std::function<void()> release_;
};

}  // namespace quorvane
