#pragma once

#include <linux/capability.h>
#include <sys/types.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/interfaces/defaults_store_error.hpp"
#include "services/persistence/rights/folder_rights_decision.hpp"

namespace quorvane {

// For as long as it lives, the calling thread touches a settings folder with
// the rights its decision names (FolderRightsDecision): where root, or a
// process holding a capability over files, works in a folder that one user
// could steer (a command run through `sudo -E`, keeping the user's HOME; a
// backup agent's), the thread's file-system user and group ids become that
// user's, its supplementary groups that user's groups, and it holds no
// capability at all. The kernel then refuses whatever that user could not
// do (a link the user planted, at a record's name or on the way to the
// folder, that leads to a file or folder the user may not read or write),
// and every file made there is the user's, as the user's own saves make
// it, without a hand-over that would give the user what root read.
//
// Per thread (the Linux file-system ids, the capabilities and, set by the
// system call itself rather than the C library's process-wide wrapper, the
// groups): every thread that touches the folder takes its own, and other
// threads keep their rights meanwhile. Nested, the inner one changes
// nothing.
class FolderOwnerRights {
  public:
    explicit FolderOwnerRights(std::shared_ptr<const FolderRightsDecision> decision);
    ~FolderOwnerRights();
    FolderOwnerRights(const FolderOwnerRights&) = delete;
    FolderOwnerRights& operator=(const FolderOwnerRights&) = delete;

    // Why this thread may touch nothing in the folder (several users could
    // steer it, its one user has no account, the kernel refuses this
    // process that user's ids); none when it may.
    const std::optional<DefaultsStoreError>& refusal() const { return refusal_; }
    // `error`, which the kernel gave with the owner's rights, told as the
    // owner's lack of them where that is why: what root alone could read or
    // write there is never touched.
    DefaultsStoreError told(DefaultsStoreError error) const;

  private:
    using Capabilities = std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>;

    // Takes the owner's ids and groups where the thread holds others.
    bool becomeOwner(uid_t owner);
    void refuse(uid_t owner, const std::string& why);
    void restore();

    std::shared_ptr<const FolderRightsDecision> decision_;
    std::optional<DefaultsStoreError> refusal_;
    // The thread's own, while it acts for the owner.
    std::optional<uid_t> previousUser_;
    gid_t previousGroup_ = 0;
    std::vector<gid_t> previousGroups_;
    std::optional<Capabilities> previousCapabilities_;
};

}  // namespace quorvane
