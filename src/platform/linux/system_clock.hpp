#pragma once

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The machine's own clocks, for code that measures time but runs no tasks.
class SystemClock final : public Clock {
  public:
    MonotonicTime monotonicNow() const override;
    Date wallNow() const override;
};

}  // namespace quorvane
