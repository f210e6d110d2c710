#pragma once

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// Blocks the calling thread for real; used by background work such as the
// pauses between DDC/CI packets.
class SystemSleeper final : public Sleeper {
  public:
    void sleepFor(Duration duration) override;
};

}  // namespace quorvane
