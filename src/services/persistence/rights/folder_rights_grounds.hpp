#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "services/persistence/rights/entry_status.hpp"

namespace quorvane {

// What a decision of whose rights count read (FolderRightsDecision):
// every entry its walk looked at, the ACL of every folder whose writers it
// counted, and the account files where it read the accounts. Kept beside
// the decision, it tells whether the decision still holds, so that a
// writer added without touching the settings folder itself (an ACL entry
// given, a user added to a group, a folder above handed over) is counted
// at the next look, and the decision is made again.
class FolderRightsGrounds {
  public:
    // An entry as one look without following it saw it, with the mount
    // the kernel says it is on.
    struct Seen {
        bool found = false;
        dev_t device = 0;
        ino_t inode = 0;
        std::optional<std::uint64_t> mount;
        mode_t mode = 0;
        uid_t owner = 0;
        gid_t group = 0;
        timespec changed{};

        // What the look told; nothing found where it is none.
        static Seen of(const EntryStatus* status);
        // The same entry on the same mount, owned and kept alike (its
        // change time aside).
        bool sameEntry(const Seen& other) const;
        bool unchanged(const Seen& other) const;
    };

    // Looked at `path` without following it: `status`, or none where
    // nothing is there.
    void looked(const std::filesystem::path& path, const EntryStatus* status);
    // Read `folder`'s ACL, looked at last: `bytes` (empty for none).
    void readAcl(const std::filesystem::path& folder, std::string bytes);
    // About to read the accounts.
    void readingAccounts();
    // Something could not be read: what is decided from it never holds.
    void couldNotRead() { unsettled_ = true; }

    // One look at each entry again: whether every one is as it was. A
    // folder whose change time alone moved (an entry made in it) is read
    // again only for its ACL, and holds while that is the same.
    bool stillHold();

  private:
    struct Entry {
        std::filesystem::path path;
        Seen seen;
        // For a folder whose writers were counted: its ACL as read.
        std::optional<std::string> acl;
    };
    struct AccountFile {
        const char* path;
        Seen seen;
    };

    static Seen lookedAt(const char* path);
    // Whether `entry` is still as it was; refreshed where only its change
    // time moved and what that could have changed did not.
    static bool entryHolds(Entry& entry);

    std::vector<Entry> entries_;
    std::vector<AccountFile> accountFiles_;
    bool unsettled_ = false;
};

}  // namespace quorvane
