// The boot-time clock, boot id and machine id read from a temporary tree
// standing for the root folder.
#include "platform/linux/system_boot_clock.hpp"

#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

void write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A process in a time namespace reads the boot's own clock once its offset
// is taken off; one whose offset cannot be read names no boot. A machine
// id file not yet set up gives way to D-Bus's copy.
TEST(SystemBootClockTest, ATimeNamespacesOffsetIsTakenOffAndAnUnknownOneNamesNoBoot) {
    testing::TemporaryFolder root;
    const std::string machine = "0123456789abcdef0123456789abcdef";
    write(root / "proc/sys/kernel/random/boot_id", "boot-1\n");
    write(root / "etc/machine-id", "uninitialized\n");
    write(root / "var/lib/dbus/machine-id", machine + "\n");
    write(root / "proc/self/timens_offsets", "monotonic 5 0\nboottime -1000 250000000\n");
    const SystemBootClock clock(root.path());
    timespec now{};
    ::syscall(SYS_clock_gettime, CLOCK_BOOTTIME, &now);
    const auto ahead = clock.sinceBoot() - std::chrono::seconds(now.tv_sec) -
                       std::chrono::nanoseconds(now.tv_nsec) - std::chrono::milliseconds(999750);
    EXPECT_LT(std::chrono::abs(ahead), std::chrono::seconds(1));
    EXPECT_EQ(clock.bootID(), "boot-1");
    EXPECT_EQ(clock.machineID(), machine);

    std::filesystem::remove(root / "proc/self/timens_offsets");
    EXPECT_EQ(SystemBootClock(root.path()).bootID(), "boot-1");
    write(root / "proc/self/ns/time", "");
    EXPECT_EQ(SystemBootClock(root.path()).bootID(), "");
}

}  // namespace
}  // namespace quorvane
