#include "platform/linux/thread_scheduler.hpp"

#include <algorithm>
#include <utility>

namespace quorvane {

ThreadScheduler::ThreadScheduler(std::size_t backgroundThreads) {
    const std::size_t count = std::max<std::size_t>(backgroundThreads, 1);
    workers_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        workers_.emplace_back([this] { workerLoop(); });
    }
}

ThreadScheduler::~ThreadScheduler() {
    {
        std::lock_guard lock(backgroundMutex_);
        shuttingDown_ = true;
    }
    backgroundWake_.notify_all();
    for (auto& worker : workers_)
        worker.join();
}

MonotonicTime ThreadScheduler::monotonicNow() const {
    return MonotonicClock::now();
}

Date ThreadScheduler::wallNow() const {
    return std::chrono::system_clock::now();
}

void ThreadScheduler::post(Task task) {
    {
        std::lock_guard lock(ownerMutex_);
        owner_.push(MonotonicClock::now(), std::move(task), TaskHandle());
    }
    ownerWake_.notify_one();
}

TaskHandle ThreadScheduler::postAfter(Duration delay, Task task) {
    TaskHandle handle;
    {
        std::lock_guard lock(ownerMutex_);
        owner_.push(MonotonicClock::now() + std::max(delay, Duration::zero()), std::move(task),
                    handle);
    }
    ownerWake_.notify_one();
    return handle;
}

void ThreadScheduler::runInBackground(Task task) {
    {
        std::lock_guard lock(backgroundMutex_);
        background_.push_back(std::move(task));
    }
    backgroundWake_.notify_one();
}

void ThreadScheduler::workerLoop() {
    for (;;) {
        Task task;
        {
            std::unique_lock lock(backgroundMutex_);
            backgroundWake_.wait(lock, [this] { return shuttingDown_ || !background_.empty(); });
            if (background_.empty())
                return;
            task = std::move(background_.front());
            background_.pop_front();
        }
        task();
    }
}

// Waits for the next due task; nullopt once stop() was called or the
// deadline passed.
std::optional<Scheduler::Task> ThreadScheduler::waitForOwnerTask(
    std::optional<MonotonicTime> deadline) {
    std::unique_lock lock(ownerMutex_);
    for (;;) {
        if (stopRequested_)
            return std::nullopt;
        const auto now = MonotonicClock::now();
        if (auto task = owner_.popDue(now))
            return task;
        if (deadline && now >= *deadline)
            return std::nullopt;
        auto wakeAt = owner_.nextDue();
        if (deadline && (!wakeAt || *deadline < *wakeAt))
            wakeAt = deadline;
        if (wakeAt) {
            ownerWake_.wait_until(lock, *wakeAt);
        } else {
            ownerWake_.wait(lock);
        }
    }
}

void ThreadScheduler::run() {
    runUntil([] { return false; });
}

bool ThreadScheduler::runUntil(const std::function<bool()>& done, std::optional<Duration> timeout) {
    std::optional<MonotonicTime> deadline;
    if (timeout)
        deadline = MonotonicClock::now() + std::max(*timeout, Duration::zero());
    bool finished = done();
    while (!finished) {
        auto task = waitForOwnerTask(deadline);
        if (!task)
            break;
        (*task)();
        finished = done();
    }
    if (!finished)
        finished = done();
    // A stop ends one loop only; the next run starts afresh.
    std::lock_guard lock(ownerMutex_);
    stopRequested_ = false;
    return finished;
}

void ThreadScheduler::stop() {
    {
        std::lock_guard lock(ownerMutex_);
        stopRequested_ = true;
    }
    ownerWake_.notify_all();
}

}  // namespace quorvane
