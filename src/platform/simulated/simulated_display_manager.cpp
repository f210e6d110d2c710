#include "platform/simulated/simulated_display_manager.hpp"

#include <cmath>

namespace quorvane {

std::vector<DisplaySnapshot> SimulatedDisplayManager::activeDisplays(
    BrightnessControlling& brightnessController, const DisplaySnapshotRequest& request) {
    std::vector<DisplaySnapshot> displays;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (unreachable_ && request.failWhenUnreachable)
            throw DisplayControlError::displayServerUnreachable();
        if (!unreachable_)
            displays = displays_;
    }
    for (auto& display : displays) {
        if (!request.includeModes) {
            display.currentMode.reset();
            display.modes.clear();
        }
        if (auto named = request.screenNamesByDisplayID.find(display.id);
            named != request.screenNamesByDisplayID.end()) {
            display.name = named->second;
        } else {
            display.name = display.isBuiltin ? std::string("Built-in Display")
                                             : "Display " + std::to_string(display.id);
        }
        display.hardwareBrightness.reset();
        if (request.includeHardwareBrightness) {
            display.hardwareBrightness = brightnessController.readBrightness(display.id);
        }
    }
    return displays;
}

void SimulatedDisplayManager::setUnreachable(bool unreachable) {
    std::lock_guard lock(mutex_);
    unreachable_ = unreachable;
}

void SimulatedDisplayManager::setMode(const DisplayModeSnapshot& mode, DisplayID displayID) {
    std::lock_guard lock(mutex_);
    for (auto& display : displays_) {
        if (display.id != displayID) {
            continue;
        }
        for (auto& listed : display.modes) {
            bool matches = listed.ioDisplayModeID == mode.ioDisplayModeID &&
                           listed.width == mode.width && listed.height == mode.height &&
                           listed.pixelWidth == mode.pixelWidth &&
                           listed.pixelHeight == mode.pixelHeight &&
                           std::fabs(listed.refreshRate - mode.refreshRate) < 0.01;
            if (!matches) {
                continue;
            }
            if (modeFailure_) {
                throw *modeFailure_;
            }
            for (auto& other : display.modes) {
                other.isCurrent = false;
            }
            listed.isCurrent = true;
            display.currentMode = listed;
            display.bounds.width = listed.width;
            display.bounds.height = listed.height;
            return;
        }
    }
    throw DisplayControlError::modeNotFound();
}

ScreenNames SimulatedDisplayManager::screenNamesByDisplayID() {
    std::lock_guard lock(mutex_);
    ++screenNameReads_;
    return screenNames_;
}

void SimulatedDisplayManager::setDisplays(std::vector<DisplaySnapshot> displays) {
    std::lock_guard lock(mutex_);
    displays_ = std::move(displays);
}

void SimulatedDisplayManager::setScreenNames(ScreenNames names) {
    std::lock_guard lock(mutex_);
    screenNames_ = std::move(names);
}

void SimulatedDisplayManager::setModeFailure(std::optional<DisplayControlError> failure) {
    std::lock_guard lock(mutex_);
    modeFailure_ = std::move(failure);
}

std::vector<DisplaySnapshot> SimulatedDisplayManager::displays() const {
    std::lock_guard lock(mutex_);
    return displays_;
}

std::vector<DisplaySnapshotRequest> SimulatedDisplayManager::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int SimulatedDisplayManager::screenNameReads() const {
    std::lock_guard lock(mutex_);
    return screenNameReads_;
}

}  // namespace quorvane
