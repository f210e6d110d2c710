// The room of the records' disk, as statvfs() reports it, also before the
// records' folder is made.
#include "platform/linux/statvfs_free_space_meter.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/small_disk.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

// A folder not made yet on a 64 KiB disk: its room is that disk's, and
// shrinks as the disk fills.
TEST(StatvfsFreeSpaceMeter, AFolderNotMadeYetHasTheRoomOfTheDiskItWouldBeOn) {
    testing::TemporaryFolder folder;
    const testing::SmallDisk disk(folder.path());
    if (!disk.mounted())
        GTEST_SKIP() << disk.refusal();
    const StatvfsFreeSpaceMeter meter(folder.path() / "quorvane" / "records");

    const auto before = meter.freeBytes();
    ASSERT_TRUE(before);
    EXPECT_GT(*before, 0u);
    EXPECT_LE(*before, 64u * 1024);
    std::ofstream(folder.path() / "filler") << std::string(16 * 1024, 'x') << std::flush;
    const auto after = meter.freeBytes();
    ASSERT_TRUE(after);
    EXPECT_LE(*after + 16 * 1024, *before);
}

}  // namespace
}  // namespace quorvane
