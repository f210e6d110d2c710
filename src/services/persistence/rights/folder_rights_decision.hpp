#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <set>
#include <vector>

#include "platform/interfaces/defaults_store_error.hpp"
#include "services/persistence/rights/account_book.hpp"
#include "services/persistence/rights/entry_status.hpp"
#include "services/persistence/rights/folder_rights_grounds.hpp"
#include "services/persistence/rights/process_rights.hpp"

namespace quorvane {

// The rule of this folder: whose rights a process touches a settings
// folder with. The other files here keep it (the process's rights, the
// accounts, what was read, the decision kept, the rights taken per thread)
// and do not restate it.
//
// A process that holds no rights beyond one user's needs no decision: the
// kernel already checks it. Any other (root, a holder of a capability
// over files, root of a namespace that maps root) decides from what the kernel
// walks to reach the folder: every folder on the way and every link
// followed (its target walked in turn, `..` from the folder the link is
// in), and who besides root could change any of them. A folder's entries
// are changed by its owner, by its group's members (listed, or whose
// primary group it is) where the group may write it, by anyone where
// others may, and by the users and groups its ACL lets write through its
// mask; where its sticky bit is set, an entry already there only by the
// folder's owner and the entry's. A name not made yet can be made by
// whoever writes the folder that would hold it, and the settings folder's
// own entries (a link at a record's name) by whoever writes it. What could
// not be read (an ACL or a group too large, a directory's accounts that do
// not list every user, a loop of links) is a writer unknown, never nobody.
//
// Where nobody but root could change any of that, root keeps its rights;
// where exactly one user could, root works with that user's rights (see
// FolderOwnerRights), so that whatever that user planted, and every link
// on the way or in the folder, leads nowhere the user could not go; where
// several could (a folder writable by a group of several, by everyone, a
// name in /tmp not made yet, an id the process's user namespace does not
// map: anyone outside it), or who could is not known, no rights of one
// user keep the others' links away, and the folder is refused. A decision
// kept holds only while everything it read is unchanged
// (FolderRightsGrounds). Whatever was decided, a process whose rights reach
// beyond one user's follows a link only where its maker is root or the
// user whose rights count (HeldFolder), and goes only into folders the
// decision went into, each on the mount it was on then: a mount made or
// removed on the way since is never gone through on the old word.
//
// Owners read on a mount are believed only where no user could have made
// them (MountTable): the mount of each folder is the one the kernel says
// that folder is on.
class FolderRightsDecision {
  public:
    // The thread's own rights, whatever the folder.
    FolderRightsDecision() = default;
    // What the walk read goes to `grounds` where given.
    static FolderRightsDecision of(const std::filesystem::path& folder,
                                   const ProcessRights& process, const AccountBook& accounts,
                                   FolderRightsGrounds* grounds = nullptr);

    const std::filesystem::path& folder() const { return folder_; }
    // Whether it was made for a process whose rights reach beyond one
    // user's: such a process follows a link only where its maker is root
    // or the user whose rights count (HeldFolder).
    bool beyondOneUser() const { return beyondOneUser_; }
    // The user whose rights count; none for the thread's own.
    const std::optional<uid_t>& user() const { return user_; }
    const AccountBook::Account& account() const { return account_; }
    // The folders root makes itself, in order, before it touches the
    // folder: where the way to it ends at a name not made yet in a sticky
    // folder (/tmp), which anyone could make, root makes it (never through
    // anything made there meanwhile), and nobody else may replace it then.
    // Until they are made, nothing is stored there.
    const std::vector<std::filesystem::path>& toMake() const { return toMake_; }
    // Why the folder must not be touched at all (several users could
    // steer it, who could is unknown, the one who could has no account);
    // none where it may.
    const std::optional<DefaultsStoreError>& refusal() const { return refusal_; }
    // Every folder the walk went into, as the kernel told it: the folders
    // a walk under this decision may go into (HeldFolder).
    const std::set<EntryStatus::Identity>& folders() const { return folders_; }

  private:
    std::filesystem::path folder_;
    bool beyondOneUser_ = false;
    std::optional<uid_t> user_;
    AccountBook::Account account_;
    std::optional<DefaultsStoreError> refusal_;
    std::vector<std::filesystem::path> toMake_;
    std::set<EntryStatus::Identity> folders_;
};

}  // namespace quorvane
