#include "platform/linux/statvfs_free_space_meter.hpp"

#include <sys/statvfs.h>

#include <cerrno>
#include <utility>

namespace quorvane {

StatvfsFreeSpaceMeter::StatvfsFreeSpaceMeter(std::filesystem::path folder)
    : folder_(std::move(folder)) {}

std::optional<std::uint64_t> StatvfsFreeSpaceMeter::freeBytes() const {
    auto folder = folder_;
    while (true) {
        struct statvfs disk {};
        if (::statvfs(folder.c_str(), &disk) == 0)
            return std::uint64_t{disk.f_bavail} * disk.f_frsize;
        if (errno != ENOENT || !folder.has_relative_path())
            return std::nullopt;
        folder = folder.parent_path();
    }
}

}  // namespace quorvane
