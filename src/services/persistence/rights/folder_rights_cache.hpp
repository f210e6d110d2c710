#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "services/persistence/rights/account_book.hpp"
#include "services/persistence/rights/folder_rights_decision.hpp"
#include "services/persistence/rights/process_rights.hpp"

namespace quorvane {

// The decision of whose rights count in one settings folder
// (FolderRightsDecision), made once and kept: made again only once the
// folder the path leads to is another, or its owner, group or mode changed
// (a link on the way swapped, the folder made or made again). The process's
// rights and the accounts are read once too. A process that holds no rights
// beyond one user's looks at nothing. Safe to share between threads.
class FolderRightsCache {
  public:
    explicit FolderRightsCache(std::filesystem::path folder,
                               std::shared_ptr<const AccountBook> accounts = nullptr);

    std::shared_ptr<const FolderRightsDecision> current() const;
    // Decides with `accounts` from now on. Set before the cache is shared
    // with another thread.
    void setAccountBook(std::shared_ptr<const AccountBook> accounts);

  private:
    struct FolderIdentity {
        bool made = false;
        dev_t device = 0;
        ino_t inode = 0;
        uid_t owner = 0;
        gid_t group = 0;
        mode_t mode = 0;
        bool operator==(const FolderIdentity&) const = default;
    };

    std::filesystem::path folder_;
    std::shared_ptr<const AccountBook> accounts_;
    ProcessRights process_;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<const FolderRightsDecision> decision_;
    mutable std::optional<FolderIdentity> decidedFor_;
};

}  // namespace quorvane
