#include "platform/linux/statvfs_free_space_meter.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/small_disk.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

// A folder not made yet on a 64 KiB disk has that disk's room, which shrinks
// as the disk fills.
TEST(StatvfsFreeSpaceMeter, AFolderNotMadeYetHasTheRoomOfTheDiskItWouldBeOn) {
    testing::TemporaryFolder folder;
    const testing::SmallDisk disk(folder.path());
    if (!disk.mounted())
        GTEST_SKIP() << disk.refusal();
    const StatvfsFreeSpaceMeter meter(folder.path() / "quorvane" / "records");
    const auto before = meter.freeBytes();
    ASSERT_TRUE(before && *before > 0 && *before <= 64 * 1024);
    std::ofstream(folder.path() / "filler") << std::string(16 * 1024, 'x') << std::flush;
    EXPECT_LE(meter.freeBytes().value_or(0) + 16 * 1024, *before);
}

}  // namespace
}  // namespace quorvane
