#pragma once

#include <atomic>
#include <string>
#include <utility>

#include "platform/interfaces/boot_clock.hpp"

namespace quorvane {

// A boot-time clock that moves only when told, for tests.
class ManualBootClock final : public BootClock {
  public:
    explicit ManualBootClock(std::string bootID = "boot-a", Duration since = std::chrono::hours(1),
                             std::string machineID = "machine-a")
        : bootID_(std::move(bootID)), machineID_(std::move(machineID)), since_(since.count()) {}

    Duration sinceBoot() const override { return Duration(since_.load()); }
    std::string bootID() const override { return bootID_; }
    std::string machineID() const override { return machineID_; }
    void advance(Duration duration) { since_ += duration.count(); }

  private:
    std::string bootID_;
    std::string machineID_;
    std::atomic<Duration::rep> since_;
};

}  // namespace quorvane
