#include "services/display/display_snapshot_builder.hpp"

namespace quorvane {
namespace {

bool sameDisplay(const DisplaySnapshot& a, const DisplaySnapshot& b) {
    return a.id == b.id && a.name == b.name && a.vendorNumber == b.vendorNumber &&
           a.modelNumber == b.modelNumber && a.serialNumber == b.serialNumber &&
           a.isBuiltin == b.isBuiltin && a.bounds.integral() == b.bounds.integral();
}

// The fresh snapshot with the previous one's modes, when there is one.
DisplaySnapshot reusingModes(DisplaySnapshot fresh, const std::vector<DisplaySnapshot>& previous) {
    if (auto cached = DisplaySnapshotBuilder::cachedDisplayModes(fresh, previous)) {
        fresh.currentMode = cached->currentMode;
        fresh.modes = cached->modes;
    }
    return fresh;
}

}  // namespace

DisplaySnapshotBuilder::DisplaySnapshotBuilder(
    std::shared_ptr<DisplayManaging> displayManager,
    std::shared_ptr<BrightnessControlling> brightnessController)
    : displayManager_(std::move(displayManager)),
      brightnessController_(std::move(brightnessController)) {}

std::optional<DisplaySnapshot> DisplaySnapshotBuilder::cachedDisplayModes(
    const DisplaySnapshot& display, const std::vector<DisplaySnapshot>& previousDisplays) {
    for (const auto& previous : previousDisplays) {
        if (sameDisplay(display, previous)) {
            return previous;
        }
    }
    return std::nullopt;
}

std::vector<DisplaySnapshot> DisplaySnapshotBuilder::passiveDisplaySnapshots(
    const std::vector<DisplaySnapshot>& previousDisplays, const ScreenNames& screenNames) {
    auto fresh = displayManager_->activeDisplays(*brightnessController_,
                                                 DisplaySnapshotRequest::passive(screenNames));
    for (const auto& display : fresh) {
        if (!cachedDisplayModes(display, previousDisplays)) {
            return fullDisplaySnapshots(screenNames);
        }
    }
    for (auto& display : fresh) {
        display = reusingModes(std::move(display), previousDisplays);
    }
    return fresh;
}

std::vector<DisplaySnapshot> DisplaySnapshotBuilder::lightweightDisplaySnapshots(
    const std::vector<DisplaySnapshot>& previousDisplays, const ScreenNames& screenNames) {
    auto fresh = displayManager_->activeDisplays(*brightnessController_,
                                                 DisplaySnapshotRequest::lightweight(screenNames));
    for (auto& display : fresh) {
        display = reusingModes(std::move(display), previousDisplays);
    }
    return fresh;
}

std::vector<DisplaySnapshot> DisplaySnapshotBuilder::fullDisplaySnapshots(
    const ScreenNames& screenNames) {
    return displayManager_->activeDisplays(*brightnessController_,
                                           DisplaySnapshotRequest::full(screenNames));
}

}  // namespace quorvane
