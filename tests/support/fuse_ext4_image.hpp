#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/mount_rights.hpp"

namespace quorvane::testing {

// An ext4 image mounted through FUSE (fuse2fs, MountRights): it keeps neither
// birth times nor inode generations, gives a freed inode number to the next
// new file, and counts whole seconds. Its clock is the system's moved on by
// the seconds last given to moveClockOn() (libfaketime in fuse2fs alone, read
// anew for every file time), so a test moves its file times on without
// waiting.
class FuseExt4Image {
  public:
    // The image and the clock's file are made in `scratch`; `format` adds
    // to mkfs.ext4's options ("-I 128": inodes with no room for fractions
    // of a second, as on ext3).
    explicit FuseExt4Image(const std::filesystem::path& scratch, std::string format = "")
        : image_(scratch / "fuse.img"),
          clock_(scratch / "fuse-clock"),
          format_(std::move(format)) {}

    // Makes the image and mounts it at `folder` (over what it holds):
    // nothing once it is mounted (fuse2fs itself may end well without
    // mounting), else why not. `options` adds to the mount's.
    std::optional<std::string> mount(const std::filesystem::path& folder,
                                     const std::string& options = "") const {
        if (auto refused = MountRights::gain())
            return refused;
        const auto command = mountCommand(folder, options);
        if (!command)
            return "libfaketime is not installed (Debian package faketime)";
        if (MountRights::run("(" + *command + ") >/dev/null 2>&1") != 0)
            return "fuse2fs mounted no ext4 image (fuse2fs, /dev/fuse)";
        // FUSE mounts `nosuid`, and root believes no `nosuid` mount, not
        // even its own server's: root's own mount is made without it.
        if (::geteuid() == 0 &&
            MountRights::run("mount -o remount,bind,suid " + folder.string() + " 2>/dev/null") != 0)
            return "the kernel refuses root's FUSE mount without nosuid";
        return std::nullopt;
    }

    void moveClockOn(int seconds) const {
        std::ofstream(clock_, std::ios::trunc) << "+" << seconds;
    }

  private:
    // The shell command that makes the image and mounts it at `folder`,
    // failing unless it did; none where libfaketime is not installed.
    std::optional<std::string> mountCommand(const std::filesystem::path& folder,
                                            const std::string& options) const {
        moveClockOn(0);
        // The user's own root folder, for whoever mounts it.
        const auto owner = std::to_string(::geteuid()) + ":" + std::to_string(::getegid());
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
            const auto library = entry.path() / "faketime" / "libfaketime.so.1";
            if (std::filesystem::exists(library))
                return "truncate -s 16M " + image_.string() + " && mkfs.ext4 -q -F " + format_ +
                       " -E root_owner=" + owner + " " + image_.string() +
                       " && LD_PRELOAD=" + library.string() +
                       " FAKETIME_TIMESTAMP_FILE=" + clock_.string() +
                       " FAKETIME_NO_CACHE=1 fuse2fs -o fakeroot,nonempty" + options + " " +
                       image_.string() + " " + folder.string() + " && mountpoint -q " +
                       folder.string();
        }
        return std::nullopt;
    }

    std::filesystem::path image_;
    std::filesystem::path clock_;
    std::string format_;
};

}  // namespace quorvane::testing
