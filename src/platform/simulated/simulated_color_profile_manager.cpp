#include "platform/simulated/simulated_color_profile_manager.hpp"

namespace quorvane {

std::string SimulatedColorProfileManager::uuid(DisplayID displayID) const {
    return "SIMULATED-DISPLAY-" + std::to_string(displayID);
}

DisplayColorProfileState SimulatedColorProfileManager::profileState(
    const DisplaySnapshot& display) {
    std::lock_guard lock(mutex_);
    if (auto failure = readFailures_.find(display.id); failure != readFailures_.end()) {
        throw failure->second;
    }
    auto found = profiles_.find(display.id);
    if (found == profiles_.end()) {
        throw ColorProfileError::displayUUIDUnavailable(display.id);
    }
    return DisplayColorProfileState::available(display.id, uuid(display.id), found->second);
}

void SimulatedColorProfileManager::setDefaultProfile(const DisplayColorProfile& profile,
                                                     const DisplaySnapshot& display) {
    std::lock_guard lock(mutex_);
    if (!profile.url) {
        throw ColorProfileError::profileURLUnavailable(profile.displayName());
    }
    auto found = profiles_.find(display.id);
    if (found == profiles_.end()) {
        throw ColorProfileError::displayUUIDUnavailable(display.id);
    }
    if (writeFailure_) {
        throw *writeFailure_;
    }
    for (auto& listed : found->second) {
        listed.isCurrent = listed.id == profile.id;
        listed.isDefault = listed.id == profile.id;
    }
    ++writeCount_;
}

void SimulatedColorProfileManager::restoreFactoryProfile(const DisplaySnapshot& display) {
    std::lock_guard lock(mutex_);
    auto found = profiles_.find(display.id);
    if (found == profiles_.end()) {
        throw ColorProfileError::displayUUIDUnavailable(display.id);
    }
    if (writeFailure_) {
        throw *writeFailure_;
    }
    for (auto& listed : found->second) {
        listed.isCurrent = listed.isFactory;
        listed.isDefault = listed.isFactory;
    }
    ++writeCount_;
}

void SimulatedColorProfileManager::setProfiles(DisplayID displayID,
                                               std::vector<DisplayColorProfile> profiles) {
    std::lock_guard lock(mutex_);
    profiles_[displayID] = std::move(profiles);
}

void SimulatedColorProfileManager::setReadFailure(DisplayID displayID,
                                                  std::optional<ColorProfileError> failure) {
    std::lock_guard lock(mutex_);
    if (failure) {
        readFailures_.insert_or_assign(displayID, *failure);
    } else {
        readFailures_.erase(displayID);
    }
}

void SimulatedColorProfileManager::setWriteFailure(std::optional<ColorProfileError> failure) {
    std::lock_guard lock(mutex_);
    writeFailure_ = std::move(failure);
}

int SimulatedColorProfileManager::writeCount() const {
    std::lock_guard lock(mutex_);
    return writeCount_;
}

}  // namespace quorvane
