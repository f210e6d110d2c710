#include "services/persistence/rights/folder_rights_grounds.hpp"

#include <fcntl.h>

#include <utility>

#include "services/persistence/rights/access_control_list.hpp"
#include "services/persistence/rights/account_book.hpp"

namespace quorvane {

namespace {

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

FolderRightsGrounds::Seen FolderRightsGrounds::Seen::of(const EntryStatus* status) {
    if (!status)
        return {};
    const auto& info = status->info;
    return {true,         info.st_dev, info.st_ino, status->mount,
            info.st_mode, info.st_uid, info.st_gid, info.st_ctim};
}

bool FolderRightsGrounds::Seen::sameEntry(const Seen& other) const {
    return found == other.found && device == other.device && inode == other.inode &&
           mount == other.mount && mode == other.mode && owner == other.owner &&
           group == other.group;
}

bool FolderRightsGrounds::Seen::unchanged(const Seen& other) const {
    return sameEntry(other) && sameTime(changed, other.changed);
}

void FolderRightsGrounds::looked(const std::filesystem::path& path, const EntryStatus* status) {
    entries_.push_back({path, Seen::of(status), std::nullopt});
}

void FolderRightsGrounds::readAcl(const std::filesystem::path& folder, std::string bytes) {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (entry->path == folder) {
            entry->acl = std::move(bytes);
            return;
        }
    }
    // Read without a look first: nothing tells when it changes.
    unsettled_ = true;
}

void FolderRightsGrounds::readingAccounts() {
    if (!accountFiles_.empty())
        return;
    for (const char* path : {AccountBook::kUserFile, AccountBook::kGroupFile})
        accountFiles_.push_back({path, lookedAt(path)});
}

// A file of accounts, replaced or written in place, changes its change time.
FolderRightsGrounds::Seen FolderRightsGrounds::lookedAt(const char* path) {
    const auto status = EntryStatus::of(AT_FDCWD, path, 0);
    return Seen::of(status ? &*status : nullptr);
}

bool FolderRightsGrounds::entryHolds(Entry& entry) {
    const auto status = EntryStatus::of(AT_FDCWD, entry.path.c_str(), AT_SYMLINK_NOFOLLOW);
    const auto now = Seen::of(status ? &*status : nullptr);
    if (!now.sameEntry(entry.seen))
        return false;
    if (now.unchanged(entry.seen))
        return true;
    // A link made again may get the old one's number, and lead elsewhere.
    if (!S_ISDIR(now.mode))
        return false;
    // A folder's writers were read from its owner, group, mode and ACL;
    // entries made in it move its change time too.
    if (entry.acl) {
        int error = 0;
        const auto acl = AccessControlList::bytesOf(entry.path, error);
        if (!acl || *acl != *entry.acl)
            return false;
    }
    entry.seen = now;
    return true;
}

bool FolderRightsGrounds::stillHold() {
    if (unsettled_)
        return false;
    for (auto& entry : entries_) {
        if (!entryHolds(entry))
            return false;
    }
    for (const auto& file : accountFiles_) {
        if (!lookedAt(file.path).unchanged(file.seen))
            return false;
    }
    return true;
}

}  // namespace quorvane
