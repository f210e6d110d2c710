#include "services/persistence/rights/entry_status.hpp"

#include <fcntl.h>
#include <sys/sysmacros.h>

namespace quorvane {

std::optional<EntryStatus> EntryStatus::of(int at, const char* path, int flags) {
    struct statx seen {};
    if (::statx(at, path, flags, STATX_BASIC_STATS | STATX_MNT_ID, &seen) != 0)
        return std::nullopt;
    EntryStatus status;
    auto& info = status.info;
    info.st_dev = ::makedev(seen.stx_dev_major, seen.stx_dev_minor);
    info.st_ino = seen.stx_ino;
    info.st_mode = seen.stx_mode;
    info.st_nlink = seen.stx_nlink;
    info.st_uid = seen.stx_uid;
    info.st_gid = seen.stx_gid;
    info.st_rdev = ::makedev(seen.stx_rdev_major, seen.stx_rdev_minor);
    info.st_size = static_cast<off_t>(seen.stx_size);
    info.st_mtim = {seen.stx_mtime.tv_sec, seen.stx_mtime.tv_nsec};
    info.st_ctim = {seen.stx_ctime.tv_sec, seen.stx_ctime.tv_nsec};
    if ((seen.stx_mask & STATX_MNT_ID) != 0)
        status.mount = seen.stx_mnt_id;
    return status;
}

}  // namespace quorvane
