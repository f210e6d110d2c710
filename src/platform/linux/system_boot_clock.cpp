#include "platform/linux/system_boot_clock.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

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

// How far this process's time namespace moves the boot-time clock, from
// the "boottime <seconds> <nanoseconds>" line of its offsets (relative to
// the machine's own clocks, however deep the namespaces nest). None where
// the kernel has no time namespaces; not known where it has them but the
// offsets cannot be read.
std::optional<Duration> namespaceOffsetUnder(const std::filesystem::path& root) {
    std::ifstream file(root / "proc/self/timens_offsets");
    if (!file) {
        std::error_code error;
        return std::filesystem::exists(root / "proc/self/ns/time", error) || error
                   ? std::nullopt
                   : std::optional(Duration(0));
    }
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string clock;
        long long seconds = 0;
        long long nanoseconds = 0;
        if (fields >> clock >> seconds >> nanoseconds && clock == "boottime")
            return std::chrono::seconds(seconds) + std::chrono::nanoseconds(nanoseconds);
    }
    return std::nullopt;
}

}  // namespace

SystemBootClock::SystemBootClock(const std::filesystem::path& root)
    : machineID_(machineIDUnder(root)) {
    // A boot-time clock whose offset is not known is no clock of the boot:
    // this process then names no boot, and its times are placed by the wall
    // clock.
    const auto offset = namespaceOffsetUnder(root);
    if (!offset)
        return;
    namespaceOffset_ = *offset;
    bootID_ = firstLine(root / "proc/sys/kernel/random/boot_id");
}

Duration SystemBootClock::sinceBoot() const {
    timespec now{};
    // CLOCK_BOOTTIME exists since Linux 2.6.39; the call cannot fail then.
    ::syscall(SYS_clock_gettime, CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec) -
           namespaceOffset_;
}

std::shared_ptr<const RequestClock> systemRequestClock() {
    return std::make_shared<RequestClock>(std::make_shared<SystemClock>(),
                                          std::make_shared<SystemBootClock>());
}

}  // namespace quorvane
