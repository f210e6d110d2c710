#include "services/persistence/record_file_identity.hpp"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <cstring>

namespace quorvane {

namespace {

template <class T>
bool differ(const std::optional<T>& a, const std::optional<T>& b) {
    return a && b && *a != *b;
}

std::optional<std::int64_t> birthTime(int fd) {
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &info) != 0 ||
        (info.stx_mask & STATX_BTIME) == 0)
        return std::nullopt;
    return static_cast<std::int64_t>(info.stx_btime.tv_sec) * 1'000'000'000 +
           info.stx_btime.tv_nsec;
}

// The file systems answer with an int, though the request names a long.
std::optional<std::uint32_t> inodeGeneration(int fd) {
    long answer = 0;
    if (::ioctl(fd, FS_IOC_GETVERSION, &answer) != 0)
        return std::nullopt;
    std::uint32_t value = 0;
    std::memcpy(&value, &answer, sizeof value);
    return value;
}

}  // namespace

std::int64_t nanosecondsSinceEpoch(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

RecordFileIdentity RecordFileIdentity::of(int fd, const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            birthTime(fd), inodeGeneration(fd), nanosecondsSinceEpoch(info.st_ctim)};
}

bool RecordFileIdentity::mayBe(const RecordFileIdentity& other) const {
    return device == other.device && inode == other.inode && !differ(bornAt, other.bornAt) &&
           !differ(generation, other.generation);
}

bool RecordFileIdentity::tellsApartFrom(const RecordFileIdentity& other) const {
    return (bornAt && other.bornAt) || (generation && other.generation);
}

bool RecordFileIdentity::changedAfter(std::int64_t moment) const {
    return changedAt && *changedAt > moment;
}

bool RecordFileIdentity::operator==(const RecordFileIdentity& other) const {
    return device == other.device && inode == other.inode && bornAt == other.bornAt &&
           generation == other.generation;
}

}  // namespace quorvane
