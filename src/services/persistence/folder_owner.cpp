#include "services/persistence/folder_owner.hpp"

#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

void giveToFolderOwner(int fd, const std::filesystem::path& folder) {
    static const bool asRoot = ::geteuid() == 0;
    struct stat owner {};
    if (!asRoot || ::stat(folder.c_str(), &owner) != 0 || owner.st_uid == 0)
        return;
    // Failing, the file stays root's: the user's reads then tell so.
    (void)::fchown(fd, owner.st_uid, owner.st_gid);
}

}  // namespace quorvane
