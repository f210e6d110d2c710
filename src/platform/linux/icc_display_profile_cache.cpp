#include "platform/linux/icc_display_profile_cache.hpp"

namespace quorvane {

IccDisplayProfileCache::IccDisplayProfileCache(std::vector<std::filesystem::path> directories)
    : directories_(std::move(directories)) {}

std::vector<IccProfileFile> IccDisplayProfileCache::profiles() {
    std::lock_guard lock(mutex_);
    // Stamped before reading: a file that changes during the read looks
    // changed at the next call and is read again then.
    auto stamps = IccProfileLibrary::profileFileStamps(directories_);
    if (stamps != stamps_) {
        profiles_ = IccProfileLibrary::displayProfiles(directories_);
        stamps_ = std::move(stamps);
    }
    return profiles_;
}

}  // namespace quorvane
