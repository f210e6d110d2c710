#include "views/qt_scheduler.hpp"

#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <utility>

namespace quorvane {

QtScheduler::QtScheduler(int backgroundThreads) {
    pool_.setMaxThreadCount(std::max(backgroundThreads, 1));
}

QtScheduler::~QtScheduler() {
    waitForBackgroundWork();
}

MonotonicTime QtScheduler::monotonicNow() const {
    return MonotonicClock::now();
}

Date QtScheduler::wallNow() const {
    return std::chrono::system_clock::now();
}

void QtScheduler::post(Task task) {
    // Queued calls to one receiver are delivered in the order they were
    // posted, whichever thread posted them.
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

TaskHandle QtScheduler::postAfter(Duration delay, Task task) {
    TaskHandle handle;
    const auto due = MonotonicClock::now() + std::max(delay, Duration::zero());
    // Timers belong to the GUI thread, so the timer is started there.
    QMetaObject::invokeMethod(
        &context_,
        [this, due, task = std::move(task), handle]() mutable {
            arm(due, std::move(task), handle);
        },
        Qt::QueuedConnection);
    return handle;
}

void QtScheduler::arm(MonotonicTime due, Task task, TaskHandle handle) {
    if (handle.isCancelled())
        return;
    const DueKey key{due, armed_++};
    delayed_.emplace(key, Delayed{std::move(task), std::move(handle)});
    const auto left = std::max(due - MonotonicClock::now(), Duration::zero());
    // Rounded up: a timer never fires before the delay has passed. Timers
    // armed late, when both are already due, fire in the order they were
    // armed; each timer therefore runs everything due up to its own task,
    // earliest first, and a later timer finds its task already run.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(left);
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &context_, [this, key] { runDueUpTo(key); });
}

void QtScheduler::runDueUpTo(DueKey key) {
    while (!delayed_.empty() && delayed_.begin()->first <= key) {
        // Taken out before it runs: a task may post or spin the event loop.
        Delayed next = std::move(delayed_.begin()->second);
        delayed_.erase(delayed_.begin());
        if (!next.handle.isCancelled())
            next.task();
    }
}

void QtScheduler::runInBackground(Task task) {
    pool_.start(std::move(task));
}

void QtScheduler::waitForBackgroundWork() {
    pool_.waitForDone();
}

}  // namespace quorvane
