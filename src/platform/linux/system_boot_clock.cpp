#include "platform/linux/system_boot_clock.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

#include "platform/linux/system_clock.hpp"

namespace quorvane {

SystemBootClock::SystemBootClock() {
    std::ifstream file("/proc/sys/kernel/random/boot_id");
    std::getline(file, bootID_);
}

Duration SystemBootClock::sinceBoot() const {
    timespec now{};
    // CLOCK_BOOTTIME exists since Linux 2.6.39; the call cannot fail then.
    ::syscall(SYS_clock_gettime, CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

std::shared_ptr<const RequestClock> systemRequestClock() {
    return std::make_shared<RequestClock>(std::make_shared<SystemClock>(),
                                          std::make_shared<SystemBootClock>());
}

}  // namespace quorvane
