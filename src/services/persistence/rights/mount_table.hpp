#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The mounts this process sees (/proc/self/mountinfo), and whose word a
// mount's owners and modes are. Every mount an ordinary user can make is
// `nosuid` (udisks mounts a stick `nosuid,nodev`, fusermount always does,
// and so do fstab's `user` and `users`), and a FUSE file system reports
// whatever its server says: on such a mount the owners the walk reads may
// be a user's forgery, so root cannot believe them.
class MountTable {
  public:
    struct Mount {
        std::filesystem::path point;
        std::string type;
        // The mount's own options, then its file system's.
        std::vector<std::string> options;
        std::vector<std::string> superOptions;
    };

    // Whose word a mount's owners are.
    struct Standing {
        enum class Kind { believed, oneUsers, unknown };
        Kind kind = Kind::believed;
        // For oneUsers: the user whose server it is.
        uid_t user = 0;
        // For unknown: why its owners cannot be believed.
        std::string why = {};
    };

    // The table as this process sees it; none where it cannot be read.
    static std::optional<MountTable> read();
    // The table `text` (mountinfo's lines) holds; lines of another shape
    // are left out.
    static MountTable parse(std::string_view text);

    // The mount seen at `point`, the last of those stacked there; none
    // where nothing is mounted there.
    std::optional<Mount> at(const std::filesystem::path& point) const;
    // A FUSE mount is the word of the user whose server serves it (root's
    // own believed); another mount made `nosuid` could be a user's, whose
    // owners are unknown; the rest are the system's, believed.
    static Standing standingOf(const Mount& mount);

  private:
    std::vector<Mount> mounts_;
};

}  // namespace quorvane
