#include "services/persistence/rights/folder_reach.hpp"

#include <sys/fsuid.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace quorvane {

namespace {

namespace fs = std::filesystem;

// A folder reached by its path: every missing level made.
std::optional<DefaultsStoreError> madeByPath(const fs::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return std::nullopt;
    fs::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return DefaultsStoreError::fromErrno(errno, partial.string());
    }
    if (::stat(folder.c_str(), &info) != 0)
        return DefaultsStoreError::fromErrno(errno, folder.string());
    if (!S_ISDIR(info.st_mode))
        return DefaultsStoreError::fromErrno(ENOTDIR, folder.string());
    return std::nullopt;
}

}  // namespace

FolderReach::FolderReach(fs::path folder) : folder_(std::move(folder)) {}

std::variant<std::shared_ptr<const HeldFolder>, DefaultsStoreError> FolderReach::heldFor(
    const std::shared_ptr<const FolderRightsDecision>& decision) {
    std::lock_guard guard(mutex_);
    // A decision made while the folder was not there stays the decision
    // while it is not (made since, removed again): what was held under it
    // may be gone.
    if (held_ && decision_ == decision && !unmadeWhenDecided_)
        return held_;
    if (!decision->beyondOneUser() || folder_.empty()) {
        held_ = std::make_shared<const HeldFolder>(folder_);
    } else {
        // Asks for no change: the id in force is told.
        const auto user = static_cast<uid_t>(::setfsuid(static_cast<uid_t>(-1)));
        // Only into the folders decided on: a mount made on the way since
        // the decision is not gone into on its word.
        auto walked = HeldFolder::walked(fs::absolute(folder_), user, &decision->folders());
        if (auto* refused = std::get_if<DefaultsStoreError>(&walked))
            return std::move(*refused);
        held_ = std::make_shared<const HeldFolder>(std::move(std::get<HeldFolder>(walked)));
    }
    if (decision_ != decision)
        unmadeWhenDecided_ = !held_->made();
    decision_ = decision;
    return held_;
}

std::shared_ptr<const HeldFolder> FolderReach::current() const {
    std::lock_guard guard(mutex_);
    return held_;
}

std::optional<DefaultsStoreError> FolderReach::makeWhole() {
    if (folder_.empty())
        return DefaultsStoreError{DefaultsStoreError::Kind::noLocation, {}, {}};
    std::lock_guard guard(mutex_);
    if (!held_ || !held_->checked())
        return madeByPath(folder_);
    if (held_->made())
        return std::nullopt;
    auto whole = held_->madeWhole();
    if (auto* refused = std::get_if<DefaultsStoreError>(&whole))
        return std::move(*refused);
    held_ = std::make_shared<const HeldFolder>(std::move(std::get<HeldFolder>(whole)));
    return std::nullopt;
}

}  // namespace quorvane
