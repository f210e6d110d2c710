#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/interfaces/boot_clock.hpp"
#include "platform/interfaces/request_clock.hpp"

namespace quorvane {

// CLOCK_BOOTTIME, read by the system call itself: a preloaded library that
// fakes the clocks (faketime) shifts clock_gettime() but cannot shift this,
// just as a real clock step never moves it. A process in a time namespace
// (unshare --time --boottime) reads it moved by its namespace's offset:
// that offset is taken off again, so every process of the boot reads one
// clock. The boot id comes from /proc/sys/kernel/random/boot_id, the
// machine id from /etc/machine-id (else D-Bus's copy), all read once.
class SystemBootClock final : public BootClock {
  public:
    // `root` is "/" normally; tests give a temporary tree.
    explicit SystemBootClock(const std::filesystem::path& root = "/");

    Duration sinceBoot() const override;
    std::string bootID() const override { return bootID_; }
    std::string machineID() const override { return machineID_; }

  private:
    std::string bootID_;
    std::string machineID_;
    Duration namespaceOffset_{0};
};

// The line every Quorvane process of this boot dates its requests on: the
// system's wall and boot-time clocks.
std::shared_ptr<const RequestClock> systemRequestClock();

}  // namespace quorvane
