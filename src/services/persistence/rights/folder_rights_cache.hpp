#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "services/persistence/rights/account_book.hpp"
#include "services/persistence/rights/folder_rights_decision.hpp"
#include "services/persistence/rights/folder_rights_grounds.hpp"
#include "services/persistence/rights/process_rights.hpp"

namespace quorvane {

// The decision of whose rights count in one settings folder
// (FolderRightsDecision), kept while what it was made from holds
// (FolderRightsGrounds) and made again once it does not. A quick look
// costs one look at the folder the path leads to: where that is another,
// or its owner, group or mode changed, it is decided again; where only
// something in it changed (a link planted at a record's name, an ACL
// entry given), everything the decision read is looked at again. A
// thorough look, before each save, looks at all of it whatever the folder
// shows: a folder above handed over, a user added to a group, a mount
// stacked on the way (each entry is looked at with the mount the kernel
// says it is on). The
// process's rights are read once. A process that holds no rights beyond
// one user's looks at nothing. Safe to share between threads.
class FolderRightsCache {
  public:
    enum class Look { quick, thorough };

    explicit FolderRightsCache(std::filesystem::path folder,
                               std::shared_ptr<const AccountBook> accounts = nullptr);

    std::shared_ptr<const FolderRightsDecision> current(Look look = Look::quick) const;
    // Decides again at the next look, whatever it finds (the way to the
    // folder was found to differ from what was decided on).
    void forget() const;
    // Decides with `accounts` from now on. Set before the cache is shared
    // with another thread.
    void setAccountBook(std::shared_ptr<const AccountBook> accounts);

  private:
    std::filesystem::path folder_;
    std::shared_ptr<const AccountBook> accounts_;
    ProcessRights process_;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<const FolderRightsDecision> decision_;
    // What decision_ was made from, and the folder as it was then; none
    // until one is made.
    mutable std::optional<FolderRightsGrounds> grounds_;
    mutable FolderRightsGrounds::Seen decidedFor_;
};

}  // namespace quorvane
