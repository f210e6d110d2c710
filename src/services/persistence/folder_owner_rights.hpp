#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/interfaces/defaults_store_error.hpp"

namespace quorvane {

// For as long as it lives, the calling thread touches a settings folder with
// the rights of the user who owns it: where root works in another user's
// folder (a command run through `sudo -E`, keeping the user's HOME), the
// thread's file-system user and group ids become that user's, and its
// supplementary groups that user's groups. The kernel then refuses whatever
// that user could not do (a link the user planted, at a record's name or at
// the folder's, that leads to a file or folder the user may not read or
// write), and every file made there is the user's, as the user's own saves
// make it, without a hand-over that would give the user what root read.
//
// Per thread (the Linux file-system ids and, set by the system call itself
// rather than the C library's process-wide wrapper, the groups): every
// thread that touches the folder takes its own, and other threads keep
// root's rights meanwhile. Nested, the inner one changes nothing.
//
// The owner is whoever owns the folder's own name (a link there is its
// maker's, the user whose settings these are, not its target's owner), or,
// where root owns that (a folder made by root, or reached through a link
// higher up), the nearest part of the path above it that another user owns.
// Root's own folder, and a process that is not root, keep their rights:
// such a process already holds only its own, which the kernel checks.
class FolderOwnerRights {
  public:
    explicit FolderOwnerRights(const std::filesystem::path& folder);
    ~FolderOwnerRights();
    FolderOwnerRights(const FolderOwnerRights&) = delete;
    FolderOwnerRights& operator=(const FolderOwnerRights&) = delete;

    // Why this thread could not take on the owner's rights (an owner with
    // no account, a user namespace that does not map the owner), and so
    // must touch nothing in the folder; none when it may.
    const std::optional<DefaultsStoreError>& refusal() const { return refusal_; }
    // `error`, which the kernel gave with the owner's rights, told as the
    // owner's lack of them where that is why: what root alone could read or
    // write there is never touched.
    DefaultsStoreError told(DefaultsStoreError error) const;

    // The user whose rights count in `folder` (root where nobody else owns
    // any part of its path).
    static uid_t ownerOf(const std::filesystem::path& folder);

  private:
    void restore();

    std::optional<DefaultsStoreError> refusal_;
    // The thread's own, while it acts for the owner.
    std::optional<uid_t> previousUser_;
    gid_t previousGroup_ = 0;
    std::vector<gid_t> previousGroups_;
    uid_t owner_ = 0;
};

}  // namespace quorvane
