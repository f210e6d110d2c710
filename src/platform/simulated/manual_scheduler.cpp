#include "platform/simulated/manual_scheduler.hpp"

#include <algorithm>
#include <optional>
#include <utility>

namespace quorvane {

namespace {

// Arbitrary fixed points, far from zero so no test depends on the epoch.
constexpr auto kStartMonotonic = std::chrono::hours(1000);
constexpr auto kStartWallSeconds = std::chrono::seconds(1'798'761'600);  // 2027-01-01T00:00:00Z

}  // namespace

ManualScheduler::ManualScheduler()
    : now_(MonotonicTime(kStartMonotonic)),
      wallAnchorMonotonic_(now_),
      wallAnchor_(Date(kStartWallSeconds)) {}

MonotonicTime ManualScheduler::monotonicNow() const {
    std::lock_guard lock(mutex_);
    return now_;
}

Date ManualScheduler::wallNow() const {
    std::lock_guard lock(mutex_);
    return wallAnchor_ + std::chrono::duration_cast<Date::duration>(now_ - wallAnchorMonotonic_);
}

void ManualScheduler::setWallNow(Date date) {
    std::lock_guard lock(mutex_);
    wallAnchor_ = date;
    wallAnchorMonotonic_ = now_;
}

void ManualScheduler::post(Task task) {
    std::lock_guard lock(mutex_);
    owner_.push(now_, std::move(task), TaskHandle());
}

TaskHandle ManualScheduler::postAfter(Duration delay, Task task) {
    TaskHandle handle;
    std::lock_guard lock(mutex_);
    owner_.push(now_ + std::max(delay, Duration::zero()), std::move(task), handle);
    return handle;
}

void ManualScheduler::runInBackground(Task task) {
    std::lock_guard lock(mutex_);
    background_.push_back(std::move(task));
}

void ManualScheduler::sleepFor(Duration duration) {
    std::lock_guard lock(mutex_);
    now_ += std::max(duration, Duration::zero());
}

bool ManualScheduler::runOneDueTask() {
    std::optional<Task> task;
    {
        std::lock_guard lock(mutex_);
        task = owner_.popDue(now_);
    }
    if (!task)
        return false;
    (*task)();
    return true;
}

bool ManualScheduler::runOneBackgroundTaskIfAllowed() {
    {
        std::lock_guard lock(mutex_);
        if (backgroundPaused_)
            return false;
    }
    return runNextBackgroundTask();
}

bool ManualScheduler::runNextBackgroundTask() {
    Task task;
    {
        std::lock_guard lock(mutex_);
        if (background_.empty())
            return false;
        task = std::move(background_.front());
        background_.pop_front();
    }
    task();
    return true;
}

void ManualScheduler::runUntilIdle() {
    for (;;) {
        while (runOneDueTask()) {
        }
        if (!runOneBackgroundTaskIfAllowed())
            return;
    }
}

void ManualScheduler::advance(Duration duration) {
    advanceTo(monotonicNow() + std::max(duration, Duration::zero()));
}

void ManualScheduler::advanceTo(MonotonicTime target) {
    for (;;) {
        runUntilIdle();
        std::lock_guard lock(mutex_);
        auto next = owner_.nextDue();
        if (!next || *next > target) {
            // A background sleep may already have carried the clock past the
            // target; time never goes back.
            now_ = std::max(now_, target);
            break;
        }
        now_ = std::max(now_, *next);
    }
    runUntilIdle();
}

void ManualScheduler::pauseBackground(bool paused) {
    std::lock_guard lock(mutex_);
    backgroundPaused_ = paused;
}

std::size_t ManualScheduler::pendingCount() const {
    std::lock_guard lock(mutex_);
    return owner_.liveCount() + background_.size();
}

std::size_t ManualScheduler::pendingBackgroundCount() const {
    std::lock_guard lock(mutex_);
    return background_.size();
}

}  // namespace quorvane
