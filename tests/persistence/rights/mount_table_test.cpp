#include "services/persistence/rights/mount_table.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace quorvane {
namespace {

using Kind = MountTable::Standing::Kind;

// The lines of a mount table as the kernel writes them (an empty source
// an empty field, names escaped), each mount known by its id whatever is
// stacked at the same place, and whose word the owners on each are where
// the kernel says the folder is `nosuid` or not.
TEST(MountTableTest, AMountIsBelievedOnlyWhereNoUserCouldHaveMadeIt) {
    const MountTable table = MountTable::parse(
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:40 / /media/ann/My\\040Stick rw,nosuid,nodev,relatime shared:9 - ext4 "
        "/dev/sdb1 rw\n"
        "31 22 0:41 / /home/ann/fuse rw,nosuid,nodev - fuse.fuse2fs img rw,user_id=1000,"
        "group_id=1000\n"
        "32 22 0:42 / /mnt/ntfs rw,relatime - fuseblk /dev/sdc1 rw,user_id=0,group_id=0\n"
        "33 22 0:43 / /mnt/odd rw - fuse.odd odd rw\n"
        "34 22 0:44 / /tmp rw,nosuid,nodev - tmpfs tmpfs rw\n"
        "35 34 0:45 / /tmp rw,nosuid - ext4 /dev/sdd1 rw\n"
        "36 22 0:46 / /mnt/img rw,nosuid,nodev - fuse.fuse2fs img rw,user_id=0,group_id=0\n"
        "37 22 0:47 / /mnt/a\\011b\\012c\\134d rw,nosuid - ext4  rw\n"
        "38 22 0:48 / /mnt/e rw,nosuid - fuse  rw,user_id=1000\n"
        "a line of another shape\n");
    const std::vector<std::tuple<std::uint64_t, std::string, bool, Kind, uid_t>> rows{
        {22, "/", false, Kind::believed, 0},
        {30, "/media/ann/My Stick", true, Kind::unknown, 0},
        {31, "/home/ann/fuse", true, Kind::oneUsers, 1000},
        {32, "/mnt/ntfs", false, Kind::believed, 0},
        {33, "/mnt/odd", false, Kind::unknown, 0},
        // Two stacked at one place, each by its own id.
        {34, "/tmp", true, Kind::believed, 0},
        {35, "/tmp", true, Kind::unknown, 0},
        // Root's own server of a user's image, made nosuid.
        {36, "/mnt/img", true, Kind::unknown, 0},
        {37, "/mnt/a\tb\nc\\d", true, Kind::unknown, 0},
        {38, "/mnt/e", true, Kind::oneUsers, 1000},
    };
    for (const auto& [id, point, nosuid, kind, user] : rows) {
        SCOPED_TRACE(id);
        const auto mount = table.withId(id);
        ASSERT_TRUE(mount);
        EXPECT_EQ(mount->point, point);
        const auto standing = MountTable::standingOf(*mount, nosuid);
        EXPECT_EQ(standing.kind, kind);
        EXPECT_EQ(standing.user, user);
        EXPECT_EQ(standing.why.empty(), kind != Kind::unknown) << standing.why;
    }
    EXPECT_FALSE(table.withId(99));
}

}  // namespace
}  // namespace quorvane
