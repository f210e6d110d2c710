#pragma once

#include <cstdint>
#include <optional>

#include <sys/stat.h>

namespace quorvane {

// What tells one record's file from another over time. Its device and inode
// number name it only while it exists: a file made once it is gone may get
// the number back (ext4 and xfs hand a freed one out again at once, so a
// backup put back as a new file often has the number of the file it was
// copied from). A new file cannot repeat its birth time nor its inode's
// generation, where the file system keeps them (ext4 keeps both unless its
// inodes are small, xfs and btrfs both, tmpfs a birth time; an ext4 image
// mounted through FUSE neither). Its change time tells a file written over
// or put back since a moment, on any file system.
// A file time (st_mtim, st_ctim) in nanoseconds since the epoch.
std::int64_t nanosecondsSinceEpoch(const timespec& time);

struct RecordFileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // Nanoseconds since the epoch.
    std::optional<std::int64_t> bornAt;
    std::optional<std::uint32_t> generation;
    // When the file as it was read last changed, in nanoseconds since the
    // epoch: no part of which file it is, and not written into stamps.
    std::optional<std::int64_t> changedAt = std::nullopt;

    // Of the open file `fd`, whose fstat is `info`.
    static RecordFileIdentity of(int fd, const struct stat& info);

    // Whether `other` may be this very file: the same device and inode, and
    // the same birth time and generation wherever both know them.
    bool mayBe(const RecordFileIdentity& other) const;
    // Whether a birth time or a generation known on both sides tells this
    // file from any other that got its number.
    bool tellsApartFrom(const RecordFileIdentity& other) const;
    // Whether the file changed after `moment` (nanoseconds since the epoch),
    // where its change time is known.
    bool changedAfter(std::int64_t moment) const;

    // The same file, whenever it last changed.
    bool operator==(const RecordFileIdentity& other) const;
};

}  // namespace quorvane
