#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "platform/interfaces/defaults_store_error.hpp"
#include "services/persistence/rights/entry_status.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

namespace quorvane {

// A settings folder reached by a walk that follows a symbolic link only
// where its maker's rights reach: where the link's owner is root or the
// user whose rights count (the kernel's protected_symlinks rule, applied
// on every folder, not only in sticky ones). The walk starts at the root
// folder and opens one name at a time from the folder it holds, never
// following it; a link is judged by the owner of the very link it opened,
// and its target read from that link. The folder reached stays held, and
// every file in it is reached through it (reach()), never by walking the
// path again: no link put on the way since, nor one a wrong reading of who
// could write there let through, leads anywhere else. A name in the folder
// that is a link is followed by the same rule (followed()).
//
// For a process whose rights reach no further than one user's, the
// kernel's own checks are that user's: nothing is held, every link is
// followed, and the folder is reached by its path. Where the process has
// no /proc to reach a held folder through, its path is used too, once the
// walk has judged every link on it.
class HeldFolder {
  public:
    // A name in a held folder.
    struct Entry {
        std::shared_ptr<const HeldFolder> folder;
        std::string name;

        std::filesystem::path reach() const { return folder->reach() / name; }
        std::filesystem::path shown() const { return folder->shown() / name; }
    };

    // `folder` reached by its path, every link followed.
    explicit HeldFolder(std::filesystem::path folder);
    // `folder` (absolute) walked from the root folder, following only links
    // that root or `user` made. Where its last levels are not made yet, the
    // deepest one made is held, with the names still to make. Fails where a
    // link another user made stands on the way (linkOfAnotherUser), where
    // links loop, or where the walk may not go on; where `decided` is
    // given, at a folder it does not hold as the kernel tells it (device,
    // inode, mount): one its decision never went into
    // (wayChangedSinceDecided).
    static std::variant<HeldFolder, DefaultsStoreError> walked(
        const std::filesystem::path& folder, uid_t user,
        const std::set<EntryStatus::Identity>* decided = nullptr);

    // The folder's path, as messages name it.
    const std::filesystem::path& shown() const { return shown_; }
    // Whether every level of it is made.
    bool made() const { return rest_.empty(); }
    // Whether it was walked by the rule, rather than reached by its path.
    bool checked() const { return user_.has_value(); }
    // The path that reaches the folder held (once made): /proc's name for
    // the folder held open, or its own path where nothing is held.
    const std::filesystem::path& reach() const { return reach_; }
    // The same folder with its levels not made yet made, private to their
    // maker, each gone into by the walk's rule as it is made.
    std::variant<HeldFolder, DefaultsStoreError> madeWhole() const;

    // Where `name` in `folder` leads: the name itself, or, where it is a
    // link, what the link leads to (which need not be made yet), followed
    // as the walk follows one.
    static std::variant<Entry, DefaultsStoreError> followed(
        std::shared_ptr<const HeldFolder> folder, const std::string& name);

    // `path` (or `error`'s), which reaches into the folder held, told by
    // the folder's own path.
    std::filesystem::path shown(const std::filesystem::path& path) const;
    DefaultsStoreError shown(DefaultsStoreError error) const;

  private:
    // followed() for a folder reached by its path: every link followed.
    static std::variant<Entry, DefaultsStoreError> followedByPath(
        std::shared_ptr<const HeldFolder> folder, const std::string& name);

    HeldFolder(UniqueFileDescriptor fd, std::filesystem::path shown, std::vector<std::string> rest,
               uid_t user);

    UniqueFileDescriptor fd_{-1};
    std::filesystem::path shown_;
    // The path of the folder held, where its last levels are not made yet.
    std::filesystem::path heldShown_;
    std::filesystem::path reach_;
    std::vector<std::string> rest_;
    // Whose links, besides root's, are followed; none where every link is.
    std::optional<uid_t> user_;
};

}  // namespace quorvane
