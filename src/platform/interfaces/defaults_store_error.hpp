#pragma once

#include <string>

namespace quorvane {

// Why a stored record could not be read or written. `path` names the file or
// folder concerned and `detail` the system's own reason, when there is one.
struct DefaultsStoreError {
    enum class Kind {
        // No settings folder is known (no usable home).
        noLocation,
        // Something other than a folder sits where the settings folder goes.
        notAFolder,
        // The folder or the file refuses writing (permissions, read-only mount).
        notWritable,
        // The file system is full or the user's quota is used up.
        noSpace,
        // A record exists but cannot be read; it is never overwritten.
        unreadable,
        // The record has no stored form (a value JSON cannot spell).
        notEncodable,
        // Any other failed system call.
        writeFailed,
        // Another process kept the settings lock longer than this one may
        // wait for it (a stopped or hung Quorvane, or another program's
        // lock on the file); `path` is the lock file.
        lockHeld,
        // The lock file was removed or replaced while this process held the
        // lock, so another writer may have landed meanwhile: the lock is held
        // again, and a save made from what was read before must be made
        // anew. `path` is the lock file.
        lockFileReplaced,
        // The lock file can be neither locked nor replaced by one that can
        // (a folder something is mounted on; a file this user may not open
        // in a folder that keeps it); `path` is the lock file, `detail`
        // why it stays.
        lockUnusable,
        // The file system tells a file's number differently from one look
        // to the next, so whether the lock file is still the one locked
        // cannot be told. `path` is the lock file.
        lockUnverifiable,
        // The settings folder is another user's (root's command run with
        // that user's settings) and is touched with that user's rights
        // only, which do not reach `path` (a link there leads out of what
        // is theirs); `detail` names the user and the system's reason.
        beyondOwnersRights,
        // The settings folder is another user's, and this process cannot
        // take on that user's rights to touch it; `path` is the folder,
        // `detail` names the user and why.
        ownersRightsUnavailable,
        // Several users besides root could change the settings folder or
        // the way to it (a folder a group of several or everyone may
        // write, a name not made yet in /tmp), so no one user's rights keep
        // the others' links away: root touches nothing there. `path` is
        // the folder, `detail` names the users and what each may write.
        pathSharedWithOthers,
        // Who besides root could change the settings folder or the way to
        // it cannot be told for certain (an ACL or a group that could not
        // be read whole, accounts kept where not every user is listed, a
        // loop of links), so it may be several users: root touches nothing
        // there. `path` is the folder, `detail` what could not be read and why.
        writersUnknown,
        // The owners and modes on a mount on the way to the settings folder
        // are not believed (one made `nosuid`, which a user may have made,
        // whoever serves it; a FUSE server that cannot be told; a mount the
        // kernel or its table does not tell), so they may be a user's
        // forgery: root touches nothing there, its own folder neither.
        // `path` is the folder, `detail` which mount and why.
        mountNotBelieved,
        // A folder on the way to the settings folder is not the one whose
        // writers were counted (a mount made or removed on the way since):
        // nothing is touched, and it is decided again. `path` is the
        // folder that differs.
        wayChangedSinceDecided,
        // A link on the way to the settings folder, or at a name in it,
        // was made by a user who is neither root nor the one whose rights
        // count there, so it is not followed: it may lead where its maker
        // could not go. `path` is the link, `detail` names its maker.
        linkOfAnotherUser,
    };

    Kind kind = Kind::writeFailed;
    std::string path;
    std::string detail;
    // For lockHeld: the holder is known to be Quorvane (this process's
    // other thread, or a process of Quorvane's by its name); else it is
    // told as another process.
    bool heldByQuorvane = false;
    // Met while reading a record (nothing was being saved): told as what
    // could not be read.
    bool whileReading = false;

    bool operator==(const DefaultsStoreError&) const = default;

    // The error of a failed system call on `path`, from its errno.
    static DefaultsStoreError fromErrno(int error, std::string path);

    // The Korean text the user sees.
    std::string description() const;
};

}  // namespace quorvane
