#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace quorvane {

// How a record's new file was put at the record's name (installRecord).
struct RecordInstall {
    enum class Displaced {
        // Nothing stood at the name.
        nothing,
        // The file the write was made from.
        theFileRead,
        // Another file: a write that landed after this one last looked.
        anotherFile,
    };
    Displaced displaced = Displaced::nothing;
    // What was displaced waits under the new file's temporary name; false
    // where the file system exchanges no names and a plain rename replaced
    // it (told as the file read, as before the exchange there was), or,
    // told as another file, where that rename was not made: another file
    // stood at the name just before it.
    bool exchanged = false;

    bool operator==(const RecordInstall&) const = default;
};

// A file, by device and inode number: held open by whoever names it, so
// that no new file gets its number meanwhile.
struct HeldFileNumber {
    dev_t device = 0;
    ino_t inode = 0;
};

// Puts the complete file `temporary` at `target` by exchanging the two
// names, so that whatever stood there is still at hand, under `temporary`,
// for the caller to weigh and remove: a record another writer saved after
// this write's last check of its lock is never simply gone. Where nothing
// stands at the name, a rename that replaces nothing puts it there, and a
// file made there meanwhile is exchanged instead. A file system that
// exchanges no names (EINVAL, ENOSYS, EOPNOTSUPP) gets a plain rename,
// made only where a look just before it finds the file read still at the
// name (or nothing): another writer's record is left in place instead.
// `read` is the file the write was made from; none when there was none.
// Whoever holds the file read keeps it open until this returns: through
// FUSE, a file renamed over while open waits under a ".fuse_hidden" name
// until its close, but one closed a moment before the rename may stay
// there for good (the close, which the kernel tells FUSE later, crosses
// the rename). The errno of a failure.
std::variant<RecordInstall, int> installRecord(const std::string& temporary,
                                               const std::filesystem::path& target,
                                               std::optional<HeldFileNumber> read);

// Exchanges the two names again; false (errno set) when it could not.
bool exchangeNames(const std::string& first, const std::filesystem::path& second);

// Renames `from` over `to`, or removes `path`, holding the file at that
// name open until it is gone from there, for the reason installRecord's
// caller holds the file read: no close by anyone crosses it then. False
// (errno set) when it could not.
bool renameHolding(const std::string& from, const std::filesystem::path& to);
bool removeHolding(const std::filesystem::path& path);

}  // namespace quorvane
