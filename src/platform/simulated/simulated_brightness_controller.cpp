#include "platform/simulated/simulated_brightness_controller.hpp"

namespace quorvane {

std::optional<double> SimulatedBrightnessController::readBrightness(DisplayID displayID) {
    std::lock_guard lock(mutex_);
    auto found = values_.find(displayID);
    if (readsFail_ || found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void SimulatedBrightnessController::setBrightness(DisplayID displayID, double value) {
    std::lock_guard lock(mutex_);
    auto found = values_.find(displayID);
    if (found == values_.end()) {
        throw DisplayControlError::brightnessUnsupported();
    }
    if (writeFailure_) {
        throw *writeFailure_;
    }
    writes_.emplace_back(displayID, value);
    found->second = value;
}

void SimulatedBrightnessController::setValue(DisplayID displayID, std::optional<double> value) {
    std::lock_guard lock(mutex_);
    if (value) {
        values_[displayID] = *value;
    } else {
        values_.erase(displayID);
    }
}

void SimulatedBrightnessController::setWriteFailure(std::optional<DisplayControlError> failure) {
    std::lock_guard lock(mutex_);
    writeFailure_ = std::move(failure);
}

void SimulatedBrightnessController::setReadsFail(bool fail) {
    std::lock_guard lock(mutex_);
    readsFail_ = fail;
}

std::optional<double> SimulatedBrightnessController::value(DisplayID displayID) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find(displayID);
    return found == values_.end() ? std::nullopt : std::optional<double>(found->second);
}

std::vector<std::pair<DisplayID, double>> SimulatedBrightnessController::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

}  // namespace quorvane
