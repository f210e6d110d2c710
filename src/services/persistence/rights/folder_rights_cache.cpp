#include "services/persistence/rights/folder_rights_cache.hpp"

#include <fcntl.h>

#include <utility>

namespace quorvane {

FolderRightsCache::FolderRightsCache(std::filesystem::path folder,
                                     std::shared_ptr<const AccountBook> accounts)
    : folder_(std::move(folder)),
      accounts_(accounts ? std::move(accounts) : std::make_shared<const AccountBook>()),
      process_(ProcessRights::ofThisProcess()),
      decision_(std::make_shared<const FolderRightsDecision>()) {}

void FolderRightsCache::forget() const {
    std::lock_guard guard(mutex_);
    grounds_.reset();
}

void FolderRightsCache::setAccountBook(std::shared_ptr<const AccountBook> accounts) {
    std::lock_guard guard(mutex_);
    accounts_ = std::move(accounts);
    grounds_.reset();
}

std::shared_ptr<const FolderRightsDecision> FolderRightsCache::current(Look look) const {
    std::lock_guard guard(mutex_);
    if (!process_.beyondOneUser || folder_.empty())
        return decision_;
    // Looked at before anything is read: a change while it is decided is
    // seen at the next look.
    const auto status = EntryStatus::of(AT_FDCWD, folder_.c_str(), 0);
    const auto now = FolderRightsGrounds::Seen::of(status ? &*status : nullptr);
    if (grounds_ && now.sameEntry(decidedFor_)) {
        // A folder not made yet stays decided by the folder that would
        // hold it, until a name is made there.
        if (look == Look::quick && now.unchanged(decidedFor_))
            return decision_;
        if (grounds_->stillHold()) {
            decidedFor_ = now;
            return decision_;
        }
    }
    FolderRightsGrounds grounds;
    decision_ = std::make_shared<const FolderRightsDecision>(
        FolderRightsDecision::of(folder_, process_, *accounts_, &grounds));
    grounds_ = std::move(grounds);
    decidedFor_ = now;
    return decision_;
}

}  // namespace quorvane
