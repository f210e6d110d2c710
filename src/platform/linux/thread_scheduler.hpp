#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/interfaces/scheduler.hpp"
#include "platform/interfaces/timed_task_queue.hpp"

namespace quorvane {

// The real scheduler for the command line and benchmarks. The owner thread
// is whichever thread calls run() or runUntil(); post() and postAfter() may be
// called from any thread. Delays are measured on steady_clock, wall time comes
// from system_clock.
//
// Background tasks run on a small pool of worker threads. Destruction stops
// the pool after the workers have finished every background task already
// queued (so a pending write is not lost) and joins them; owner-thread tasks
// still waiting then are dropped. Tasks must not throw.
class ThreadScheduler final : public Scheduler {
  public:
    explicit ThreadScheduler(std::size_t backgroundThreads = 2);
    ~ThreadScheduler() override;
    ThreadScheduler(const ThreadScheduler&) = delete;
    ThreadScheduler& operator=(const ThreadScheduler&) = delete;

    MonotonicTime monotonicNow() const override;
    Date wallNow() const override;

    void post(Task task) override;
    TaskHandle postAfter(Duration delay, Task task) override;
    void runInBackground(Task task) override;

    // Runs owner-thread tasks until stop() is called (from a task or any
    // thread). A stop() that arrives before the loop starts ends it at once;
    // each stop ends one loop, and a later run() starts afresh.
    void run();
    // Runs owner-thread tasks until `done` returns true (checked before each
    // wait and after every task), stop() is called or `timeout` has passed.
    // Returns whether `done` became true.
    bool runUntil(const std::function<bool()>& done,
                  std::optional<Duration> timeout = std::nullopt);
    void stop();

  private:
    void workerLoop();
    std::optional<Task> waitForOwnerTask(std::optional<MonotonicTime> deadline);

    std::mutex ownerMutex_;
    std::condition_variable ownerWake_;
    TimedTaskQueue owner_;
    bool stopRequested_ = false;

    std::mutex backgroundMutex_;
    std::condition_variable backgroundWake_;
    std::deque<Task> background_;
    bool shuttingDown_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace quorvane
