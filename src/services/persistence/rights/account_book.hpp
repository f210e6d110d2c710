#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// The accounts a decision about a settings folder's rights reads (see
// FolderRightsDecision): a user's groups, and who belongs to a group. The
// system's (the password and group databases) unless a test hands in its
// own.
class AccountBook {
  public:
    struct Account {
        gid_t group = 0;
        // Every group the user is a member of, the primary one included.
        std::vector<gid_t> groups;
    };

    // Where the system's accounts are kept: a decision that read them is
    // made again once either changes.
    static constexpr const char* kUserFile = "/etc/passwd";
    static constexpr const char* kGroupFile = "/etc/group";

    virtual ~AccountBook() = default;

    // None where `user` has no account.
    virtual std::optional<Account> account(uid_t user) const;
    // Every user of `group`: its listed members, and those whose primary
    // group it is. None where they cannot all be told: an entry that could
    // not be read whole, or accounts kept where not every user is listed
    // (a directory read through sssd or LDAP lists only those asked for).
    virtual std::optional<std::vector<uid_t>> membersOf(gid_t group) const;
    // The group's name, or its number where it has none.
    virtual std::string groupName(gid_t group) const;
};

}  // namespace quorvane
