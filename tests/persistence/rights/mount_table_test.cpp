#include "services/persistence/rights/mount_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane {
namespace {

using Kind = MountTable::Standing::Kind;

// The lines of a mount table as the kernel writes them, and whose word the
// owners on each mount are.
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
        "35 34 0:45 / /tmp rw - tmpfs tmpfs rw\n"
        "a line of another shape\n");
    const std::vector<std::tuple<std::string, Kind, uid_t>> rows{
        {"/", Kind::believed, 0},
        {"/media/ann/My Stick", Kind::unknown, 0},
        {"/home/ann/fuse", Kind::oneUsers, 1000},
        {"/mnt/ntfs", Kind::believed, 0},
        {"/mnt/odd", Kind::unknown, 0},
        // The last mount stacked at a place is the one seen there.
        {"/tmp", Kind::believed, 0},
    };
    for (const auto& [point, kind, user] : rows) {
        SCOPED_TRACE(point);
        const auto mount = table.at(point);
        ASSERT_TRUE(mount);
        const auto standing = MountTable::standingOf(*mount);
        EXPECT_EQ(standing.kind, kind);
        EXPECT_EQ(standing.user, user);
        EXPECT_EQ(standing.why.empty(), kind != Kind::unknown) << standing.why;
    }
    EXPECT_FALSE(table.at("/media/ann"));
    EXPECT_FALSE(table.at("/home/ann/fuse/inside"));
}

}  // namespace
}  // namespace quorvane
