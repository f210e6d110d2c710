#include "services/persistence/rights/mount_namespace_owner.hpp"

#include <fcntl.h>
#include <linux/nsfs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

namespace {

// Whether the namespace `fd` holds is the one at `path`.
bool isNamespaceAt(int fd, const char* path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path, &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

MountNamespaceOwner::Unknown unknown(const char* what) {
    return {std::string(what) + ": " + std::strerror(errno)};
}

}  // namespace

MountNamespaceOwner MountNamespaceOwner::ofThisProcess() {
    const UniqueFileDescriptor mounts(::open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC));
    if (!mounts.valid())
        return {unknown("/proc/self/ns/mnt")};
    const UniqueFileDescriptor maker(::ioctl(mounts.get(), NS_GET_USERNS));
    // The kernel shows only this process's user namespace and those below
    // it: one it will not show is above it, whose mounts this process
    // could never have made or entered on its own (`unshare -r`).
    if (!maker.valid())
        return errno == EPERM ? MountNamespaceOwner{Own{}}
                              : MountNamespaceOwner{unknown("NS_GET_USERNS")};
    if (isNamespaceAt(maker.get(), "/proc/self/ns/user"))
        return {Own{}};
    // One below: made by the user who made it, or, where root made it
    // (a container's), by that namespace's own root, whoever that is.
    uid_t user = 0;
    if (::ioctl(maker.get(), NS_GET_OWNER_UID, &user) != 0)
        return {unknown("NS_GET_OWNER_UID")};
    if (user == 0)
        return {Unknown{"root가 만든 다른 사용자 네임스페이스의 root가 마운트했을 수 있습니다"}};
    return {User{user}};
}

}  // namespace quorvane
