#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The mounts this process sees (/proc/self/mountinfo), each known by the
// id the kernel gives it, and whose word a mount's owners and modes are.
// Every mount an ordinary user can make is `nosuid` (udisks mounts a stick
// `nosuid,nodev`, fusermount always does, and so do fstab's `user` and
// `users`), and a FUSE file system reports whatever its server says: on
// such a mount the owners the walk reads may be a user's forgery, so root
// cannot believe them. Which mount a folder is on is the kernel's answer
// for that folder (EntryStatus), never a place in the table: the table
// lists mounts in the order they were made, not as they are stacked.
class MountTable {
  public:
    struct Mount {
        std::uint64_t id = 0;
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
    // The table `text` (mountinfo's lines, as the kernel writes them: an
    // empty source is an empty field) holds; lines of another shape are
    // left out.
    static MountTable parse(std::string_view text);

    // The mount the kernel numbers `id`; none where the table lists none.
    std::optional<Mount> withId(std::uint64_t id) const;
    // Whose word `mount`'s owners are, where the kernel says it is `nosuid`
    // or not. A FUSE mount a user serves is that user's word. Any other
    // mount made `nosuid` could be a user's, whoever serves it (root's own
    // FUSE server of a user's image too): its owners are unknown. A memory
    // file system (tmpfs) is believed, `nosuid` or not: its owners were set
    // by live processes under the kernel's own checks, never read from an
    // image. The rest are the system's, believed.
    static Standing standingOf(const Mount& mount, bool nosuid);

  private:
    std::vector<Mount> mounts_;
};

}  // namespace quorvane
