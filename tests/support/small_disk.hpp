#pragma once

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace quorvane::testing {

// A small tmpfs mounted over `folder` (as root) for as long as it lives: a
// disk that fills up, or a mount point no rename can replace or move.
class SmallDisk {
  public:
    explicit SmallDisk(std::filesystem::path folder, const std::string& size = "64k")
        : folder_(std::move(folder)) {
        mounted_ = std::system(("mount -t tmpfs -o size=" + size + " tmpfs " + folder_.string() +
                                " 2>/dev/null")
                                   .c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            (void)std::system(("umount " + folder_.string()).c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    // Fills the disk but for one page.
    void leaveOnePage() const {
        const auto filler = folder_ / "filler";
        std::filesystem::remove(filler);
        struct statvfs disk {};
        ASSERT_EQ(::statvfs(folder_.c_str(), &disk), 0);
        ASSERT_GT(disk.f_bavail, 1u);
        std::ofstream(filler) << std::string((disk.f_bavail - 1) * disk.f_bsize, 'x');
    }

  private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

}  // namespace quorvane::testing
