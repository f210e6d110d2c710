#pragma once

#include <memory>
#include <string>

#include "platform/interfaces/boot_clock.hpp"
#include "platform/interfaces/request_clock.hpp"

namespace quorvane {

// CLOCK_BOOTTIME, read by the system call itself: a preloaded library that
// fakes the clocks (faketime) shifts clock_gettime() but cannot shift this,
// just as a real clock step never moves it. The boot id comes from
// /proc/sys/kernel/random/boot_id, read once.
class SystemBootClock final : public BootClock {
  public:
    SystemBootClock();

    Duration sinceBoot() const override;
    std::string bootID() const override { return bootID_; }

  private:
    std::string bootID_;
};

// The line every Quorvane process of this boot dates its requests on: the
// system's wall and boot-time clocks.
std::shared_ptr<const RequestClock> systemRequestClock();

}  // namespace quorvane
