#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace quorvane {

// What this process may do to files beyond what one user may. Root of the
// system may touch every user's files, and so may a process holding a
// capability over files (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER,
// CAP_CHOWN), whatever its user; root without capabilities still owns
// root's files, which a link another user planted could lead to. In a user
// namespace, such rights reach only the files of the users it maps: one
// made by one user (`unshare --map-root-user`, a rootless container
// mapping that user alone) holds that user's rights only, unless that one
// user owns the root of the file tree (root's own `unshare -r`), whose
// files are then all within reach. A process that is neither root nor
// holds such a capability holds its own user's rights. Ids the namespace
// does not map (shown as the overflow id, 65534) could be anyone's: such
// an id that may write is a writer whose rights cannot be taken.
struct ProcessRights {
    struct IdRange {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    // Whether this process may touch files no one user's rights reach: root
    // or a capability over files, in a namespace that maps more than one
    // user or maps the owner of the root folder.
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
