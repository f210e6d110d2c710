#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>

#include "platform/interfaces/defaults_store_error.hpp"
#include "services/persistence/rights/folder_rights_decision.hpp"
#include "services/persistence/rights/held_folder.hpp"

namespace quorvane {

// How a store reaches its settings folder (HeldFolder): walked by the rule
// of whose links are followed once per decision of whose rights count
// (FolderRightsDecision), with those rights in force (FolderOwnerRights),
// and held until the decision is another one (the path leads to another
// folder, or the folder changed hands). Made whole, it is held whole from
// then on. Safe to share between threads.
class FolderReach {
  public:
    explicit FolderReach(std::filesystem::path folder);

    // The folder as the calling thread reaches it under `decision`, whose
    // rights it holds now: the links judged are root's and those of the
    // user whose rights count, its file-system user. Fails where the walk
    // may not reach it.
    std::variant<std::shared_ptr<const HeldFolder>, DefaultsStoreError> heldFor(
        const std::shared_ptr<const FolderRightsDecision>& decision);
    // The folder as last reached; none before any.
    std::shared_ptr<const HeldFolder> current() const;
    // Makes the folder's levels not made yet (each private to its maker,
    // as the XDG rules ask); why not, where they could not be.
    std::optional<DefaultsStoreError> makeWhole();

  private:
    std::filesystem::path folder_;
    mutable std::mutex mutex_;
    std::shared_ptr<const FolderRightsDecision> decision_;
    // The folder was not made yet when decision_ was first walked.
    bool unmadeWhenDecided_ = false;
    std::shared_ptr<const HeldFolder> held_;
};

}  // namespace quorvane
