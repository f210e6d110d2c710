#pragma once

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The time a wait counts, looked at in small steps, as a process that may be
// stopped sees it: stopped by job control or a debugger (or on a machine
// that slept), it finds its clock jumped when it runs again, and that time is
// no time the thing it waits for failed to answer. So a step held up longer
// than `longestStep` counts nothing, and neither does a step in which what is
// waited for could not answer (it was stopped itself, or waited in turn).
class RunningTime {
  public:
    RunningTime(const Clock& clock, Duration longestStep)
        : clock_(clock), longestStep_(longestStep), last_(clock.monotonicNow()) {}

    // Looks at the clock: the time since the last look counts when `counts`
    // and the look was not held up.
    void step(bool counts) {
        const MonotonicTime now = clock_.monotonicNow();
        const Duration since = now - last_;
        last_ = now;
        if (counts && since <= longestStep_)
            counted_ += since;
    }
    Duration counted() const { return counted_; }

  private:
    const Clock& clock_;
    Duration longestStep_;
    MonotonicTime last_;
    Duration counted_{0};
};

}  // namespace quorvane
