#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <compare>
#include <cstdint>
#include <optional>

namespace quorvane {

// An entry as one look at it saw it, with the mount the kernel says it is
// on (statx's mount id): a mount is known by the kernel's answer for the
// entry itself, never by where the mount table lists one. The id is none
// where the kernel does not tell it.
struct EntryStatus {
    // Which entry, on which mount: a folder the same file system shows
    // again through another mount is another place.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        std::optional<std::uint64_t> mount;

        auto operator<=>(const Identity&) const = default;
    };

    struct stat info {};
    std::optional<std::uint64_t> mount;

    // `path` from the folder `at` (with `flags` as statx takes them, so
    // AT_EMPTY_PATH with "" for the entry `at` holds); none where it could
    // not be looked at (errno says why).
    static std::optional<EntryStatus> of(int at, const char* path, int flags);

    Identity identity() const { return {info.st_dev, info.st_ino, mount}; }
};

}  // namespace quorvane
