#pragma once

#include <functional>
#include <utility>

#include "platform/simulated/manual_scheduler.hpp"
#include "support/other_lock_holder.hpp"

namespace quorvane::testing {

// A pause on virtual time that lets the other holder go after a number of
// pauses, as a process that finishes its save would, or does what another
// process does then.
class ReleasingSleeper final : public Sleeper {
  public:
    ReleasingSleeper(ManualScheduler& clock, int pauses, OtherLockHolder& holder)
        : ReleasingSleeper(clock, pauses, [&holder] { holder.release(); }) {}
    ReleasingSleeper(ManualScheduler& clock, int pauses, std::function<void()> then)
        : clock_(clock), pauses_(pauses), then_(std::move(then)) {}
    void sleepFor(Duration duration) override {
        clock_.sleepFor(duration);
        if (--pauses_ == 0)
            then_();
    }

  private:
    ManualScheduler& clock_;
    int pauses_;
    std::function<void()> then_;
};

}  // namespace quorvane::testing
