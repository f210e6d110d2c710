#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace quorvane {

// What this process may do to files beyond what one user may: root of the
// system may touch every user's files, while root of a user namespace made
// by one user (`unshare --map-root-user`, a rootless container mapping that
// user alone) holds rights over that user's files only, and a process that
// is not root and holds no capability over files holds its own user's. Ids
// the namespace does not map (shown as the overflow id, 65534) are nobody's
// rights to take.
struct ProcessRights {
    struct IdRange {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    // Whether this process may touch more than one user's files: root, or a
    // capability over files, in a namespace that maps more than one user.
    bool beyondOneUser = false;
    // The ids this process's user namespace maps (everything, in the
    // system's own).
    std::vector<IdRange> users;
    std::vector<IdRange> groups;

    static ProcessRights ofThisProcess();
    bool mapsUser(uid_t user) const { return maps(users, user); }
    bool mapsGroup(gid_t group) const { return maps(groups, group); }

  private:
    static bool maps(const std::vector<IdRange>& ranges, std::uint32_t id);
};

}  // namespace quorvane
