#pragma once

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/mount_rights.hpp"

namespace quorvane::testing {

// A small tmpfs mounted over `folder` (MountRights) for as long as it lives:
// a disk that fills up, or a mount point no rename can replace or move.
class SmallDisk {
  public:
    explicit SmallDisk(std::filesystem::path folder, const std::string& size = "64k")
        : folder_(std::move(folder)), refused_(MountRights::mountTmpfs(folder_, size)) {}
    ~SmallDisk() {
        if (mounted())
            MountRights::unmount(folder_);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return !refused_; }
    // Why the kernel refused the disk.
    std::string refusal() const { return "no tmpfs can be mounted here: " + refused_.value_or(""); }
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
    std::optional<std::string> refused_;
};

}  // namespace quorvane::testing
