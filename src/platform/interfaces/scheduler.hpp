#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "models/coding/date_coding.hpp"

namespace quorvane {

// Monotonic time: never set back, used for every timeout, delay and
// duplicate window. Wall time (Date) is only for what records store.
using MonotonicClock = std::chrono::steady_clock;
using MonotonicTime = MonotonicClock::time_point;
using Duration = std::chrono::nanoseconds;

inline constexpr Duration seconds(double value) {
    return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(value));
}

class Clock {
  public:
    virtual ~Clock() = default;
    virtual MonotonicTime monotonicNow() const = 0;
    virtual Date wallNow() const = 0;
};

// Blocks the calling (background) thread; the virtual implementation lets
// tests run protocol pauses without real waiting.
class Sleeper {
  public:
    virtual ~Sleeper() = default;
    virtual void sleepFor(Duration duration) = 0;
};

// Cancels a delayed task. Copies share one flag; cancelling after the task
// ran does nothing.
class TaskHandle {
  public:
    TaskHandle() : cancelled_(std::make_shared<std::atomic<bool>>(false)) {}
    void cancel() const { cancelled_->store(true); }
    bool isCancelled() const { return cancelled_->load(); }

  private:
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

// The store's thread and the background work it starts. Results of
// background work come back to the owner's thread through post().
class Scheduler : public Clock {
  public:
    using Task = std::function<void()>;

    // Runs `task` on the owner's thread after everything posted before it.
    virtual void post(Task task) = 0;
    // Runs `task` on the owner's thread once `delay` has passed, unless the
    // returned handle is cancelled first.
    virtual TaskHandle postAfter(Duration delay, Task task) = 0;
    // Runs `task` off the owner's thread.
    virtual void runInBackground(Task task) = 0;
};

}  // namespace quorvane
