#pragma once

#include <QObject>
#include <QThreadPool>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The store's scheduler on the Qt event loop of the thread that creates it
// (the GUI thread).
//
// post() and postAfter() may be called from any thread; their tasks run on
// the GUI thread, posts in the order they were made. A delayed task runs
// once its delay has passed, measured from the call, unless its handle was
// cancelled before; a cancelled task never runs. Delayed tasks run in the
// order they fall due (posts order equal ones), also when the event loop
// reaches them late, after several are due. runInBackground() runs on a
// small pool of its own. Destruction waits for the background tasks already
// started or queued (a pending save is not lost); GUI-thread tasks still
// waiting then are dropped. Tasks must not throw.
class QtScheduler final : public Scheduler {
  public:
    explicit QtScheduler(int backgroundThreads = 2);
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    MonotonicTime monotonicNow() const override;
    Date wallNow() const override;

    void post(Task task) override;
    TaskHandle postAfter(Duration delay, Task task) override;
    void runInBackground(Task task) override;

    // Blocks until every background task started or queued so far has
    // finished; their posts back still wait for the event loop.
    void waitForBackgroundWork();

  private:
    // When a delayed task falls due, and in which order among equal times.
    using DueKey = std::pair<MonotonicTime, std::uint64_t>;
    struct Delayed {
        Task task;
        TaskHandle handle;
    };

    void arm(MonotonicTime due, Task task, TaskHandle handle);
    // Runs, in due order, every waiting task due no later than `key`.
    void runDueUpTo(DueKey key);

    // Armed delayed tasks, on the creating thread only.
    std::map<DueKey, Delayed> delayed_;
    std::uint64_t armed_ = 0;
    // Receives the queued calls; lives on the creating thread.
    QObject context_;
    QThreadPool pool_;
};

}  // namespace quorvane
