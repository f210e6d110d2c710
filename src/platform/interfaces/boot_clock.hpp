#pragma once

#include <string>

#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The kernel's clock since this boot began, time asleep included: every
// process reads the same, and no clock setting (date -s, NTP stepping a
// clock that ran ahead, a resumed virtual machine) moves it.
class BootClock {
  public:
    virtual ~BootClock() = default;
    virtual Duration sinceBoot() const = 0;
    // What tells this boot from every other (the kernel's random boot id):
    // empty where it cannot be read, or where the boot-time clock read here
    // cannot be placed on the boot's own.
    virtual std::string bootID() const = 0;
    // What tells this machine from another sharing the same home (over a
    // network file system): empty where it cannot be read.
    virtual std::string machineID() const = 0;
};

}  // namespace quorvane
