#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace quorvane::testing {

// An ext4 image mounted through FUSE (fuse2fs, as root): it keeps neither
// birth times nor inode generations, gives a freed inode number to the next
// new file, and counts whole seconds. Its clock is the system's moved on by
// the seconds last given to moveClockOn() (libfaketime in fuse2fs alone, read
// anew for every file time), so a test moves its file times on without
// waiting.
class FuseExt4Image {
  public:
    // The image and the clock's file are made in `scratch`.
    explicit FuseExt4Image(const std::filesystem::path& scratch)
        : image_(scratch / "fuse.img"), clock_(scratch / "fuse-clock") {}

    // The shell command that makes the image and mounts it at `folder`
    // (over what it holds), failing unless it did (fuse2fs itself may end
    // well without mounting); none where libfaketime is not installed.
    std::optional<std::string> mountCommand(const std::filesystem::path& folder) const {
        moveClockOn(0);
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
            const auto library = entry.path() / "faketime" / "libfaketime.so.1";
            if (std::filesystem::exists(library))
                return "truncate -s 16M " + image_.string() + " && mkfs.ext4 -q -F " +
                       image_.string() + " && LD_PRELOAD=" + library.string() +
                       " FAKETIME_TIMESTAMP_FILE=" + clock_.string() +
                       " FAKETIME_NO_CACHE=1 fuse2fs -o fakeroot,nonempty " + image_.string() +
                       " " + folder.string() + " && mountpoint -q " + folder.string();
        }
        return std::nullopt;
    }

    void moveClockOn(int seconds) const {
        std::ofstream(clock_, std::ios::trunc) << "+" << seconds;
    }

  private:
    std::filesystem::path image_;
    std::filesystem::path clock_;
};

}  // namespace quorvane::testing
