#include "platform/interfaces/timed_task_queue.hpp"

#include <algorithm>

namespace quorvane {

void TimedTaskQueue::push(MonotonicTime due, Scheduler::Task task, TaskHandle handle) {
    entries_.emplace(std::make_pair(due, nextSequence_++),
                     Entry{std::move(task), std::move(handle)});
}

void TimedTaskQueue::dropCancelledFront() {
    while (!entries_.empty() && entries_.begin()->second.handle.isCancelled()) {
        entries_.erase(entries_.begin());
    }
}

std::optional<Scheduler::Task> TimedTaskQueue::popDue(MonotonicTime now) {
    dropCancelledFront();
    if (entries_.empty() || entries_.begin()->first.first > now)
        return std::nullopt;
    auto task = std::move(entries_.begin()->second.task);
    entries_.erase(entries_.begin());
    return task;
}

std::optional<MonotonicTime> TimedTaskQueue::nextDue() {
    dropCancelledFront();
    if (entries_.empty())
        return std::nullopt;
    return entries_.begin()->first.first;
}

std::size_t TimedTaskQueue::liveCount() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const auto& e) { return !e.second.handle.isCancelled(); }));
}

}  // namespace quorvane
