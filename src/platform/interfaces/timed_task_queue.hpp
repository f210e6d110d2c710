#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// Owner-thread tasks ordered by due time, ties in posting order. Both
// schedulers keep their owner queue here and guard it with their own lock.
class TimedTaskQueue {
  public:
    void push(MonotonicTime due, Scheduler::Task task, TaskHandle handle);
    // The earliest task due at or before `now`, skipping cancelled ones.
    std::optional<Scheduler::Task> popDue(MonotonicTime now);
    // When the earliest task that has not been cancelled falls due.
    std::optional<MonotonicTime> nextDue();
    // Tasks still waiting that have not been cancelled.
    std::size_t liveCount() const;
    void clear() { entries_.clear(); }

  private:
    struct Entry {
        Scheduler::Task task;
        TaskHandle handle;
    };
    void dropCancelledFront();

    std::map<std::pair<MonotonicTime, std::uint64_t>, Entry> entries_;
    std::uint64_t nextSequence_ = 0;
};

}  // namespace quorvane
