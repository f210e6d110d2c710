#include "services/persistence/rights/folder_rights_cache.hpp"

#include <sys/stat.h>

#include <utility>

namespace quorvane {

FolderRightsCache::FolderRightsCache(std::filesystem::path folder,
                                     std::shared_ptr<const AccountBook> accounts)
    : folder_(std::move(folder)),
      accounts_(accounts ? std::move(accounts) : std::make_shared<const AccountBook>()),
      process_(ProcessRights::ofThisProcess()),
      decision_(std::make_shared<const FolderRightsDecision>()) {}

void FolderRightsCache::setAccountBook(std::shared_ptr<const AccountBook> accounts) {
    std::lock_guard guard(mutex_);
    accounts_ = std::move(accounts);
    decidedFor_.reset();
}

std::shared_ptr<const FolderRightsDecision> FolderRightsCache::current() const {
    if (!process_.beyondOneUser || folder_.empty()) {
        std::lock_guard guard(mutex_);
        return decision_;
    }
    // One look at where the path leads now tells whether the walk would
    // end elsewhere, or the folder changed hands, since it was decided.
    struct stat info {};
    FolderIdentity now;
    if (::stat(folder_.c_str(), &info) == 0)
        now = {true, info.st_dev, info.st_ino, info.st_uid, info.st_gid, info.st_mode};
    std::lock_guard guard(mutex_);
    // A folder not made yet stays decided by the folder that would hold
    // it: whoever could make the rest there was counted.
    if (decidedFor_ && now == *decidedFor_)
        return decision_;
    decision_ = std::make_shared<const FolderRightsDecision>(
        FolderRightsDecision::of(folder_, process_, *accounts_));
    decidedFor_ = now;
    return decision_;
}

}  // namespace quorvane
