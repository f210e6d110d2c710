#include "platform/linux/system_boot_clock.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <fstream>

#include "platform/linux/system_clock.hpp"

namespace quorvane {

namespace {

std::string firstLine(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// 32 hex digits, as machine-id(5) has it: a file not yet set up holds
// "uninitialized" or nothing.
bool isMachineID(const std::string& text) {
    return text.size() == 32 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); });
}

std::string machineIDUnder(const std::filesystem::path& root) {
    for (const char* path : {"etc/machine-id", "var/lib/dbus/machine-id"}) {
        if (auto id = firstLine(root / path); isMachineID(id))
            return id;
    }
    return {};
}

}  // namespace

SystemBootClock::SystemBootClock(const std::filesystem::path& root)
    : bootID_(firstLine(root / "proc/sys/kernel/random/boot_id")),
      machineID_(machineIDUnder(root)) {}

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
