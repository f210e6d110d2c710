#pragma once

#include <cstddef>
#include <deque>
#include <mutex>

#include "platform/interfaces/scheduler.hpp"
#include "platform/interfaces/timed_task_queue.hpp"

namespace quorvane {

// Virtual time for tests. Nothing runs until the test calls runUntilIdle(),
// advance() or advanceTo(); every task then runs on the test's own thread.
//
// Time: the monotonic clock starts at a fixed point and moves only through
// advance()/advanceTo() or sleepFor(). Wall time follows it and can be set.
//
// Background work goes to a queue of its own. By default it runs inline
// during runUntilIdle()/advance(); with pauseBackground(true) it waits until
// the test releases it one task at a time with runNextBackgroundTask(), so a
// test can hold a slow transaction in flight.
//
// sleepFor() only moves the clock forward: owner-thread tasks that become due
// meanwhile are not run from inside the sleeping task; they run afterwards in
// due order, as on a real owner thread that was busy.
//
// All state is behind a lock and no task runs under it, so a real thread may
// post back while the test drives the scheduler.
class ManualScheduler final : public Scheduler, public Sleeper {
  public:
    ManualScheduler();

    MonotonicTime monotonicNow() const override;
    Date wallNow() const override;
    void setWallNow(Date date);

    void post(Task task) override;
    TaskHandle postAfter(Duration delay, Task task) override;
    void runInBackground(Task task) override;
    void sleepFor(Duration duration) override;

    // Runs owner-thread tasks due now and (unless paused) background tasks
    // until none is ready. Never moves time.
    void runUntilIdle();
    // Moves time forward to each due task in turn, running it and what it
    // posts at their own due times, and ends at now + duration.
    void advance(Duration duration);
    void advanceTo(MonotonicTime target);

    void pauseBackground(bool paused);
    // Runs the oldest background task; false when there is none.
    bool runNextBackgroundTask();

    // Owner-thread tasks not cancelled plus background tasks still waiting.
    std::size_t pendingCount() const;
    std::size_t pendingBackgroundCount() const;

  private:
    bool runOneDueTask();
    bool runOneBackgroundTaskIfAllowed();

    mutable std::mutex mutex_;
    MonotonicTime now_;
    MonotonicTime wallAnchorMonotonic_;
    Date wallAnchor_;
    TimedTaskQueue owner_;
    std::deque<Task> background_;
    bool backgroundPaused_ = false;
};

}  // namespace quorvane
