#include "services/display/cli_display_snapshot_provider.hpp"

namespace quorvane {

CLIDisplaySnapshotProvider::CLIDisplaySnapshotProvider(
    std::shared_ptr<DisplayManaging> displayManager)
    : displayManager_(std::move(displayManager)) {}

std::vector<DisplaySnapshot> CLIDisplaySnapshotProvider::activeCLIDisplays(
    BrightnessControlling& brightnessController, bool includeHardwareBrightness) {
    DisplaySnapshotRequest request{false, includeHardwareBrightness, {}, true};
    auto displays = displayManager_->activeDisplays(brightnessController, request);
    if (displays.empty()) {
        return displays;
    }
    auto names = displayManager_->screenNamesByDisplayID();
    for (auto& display : displays) {
        if (auto named = names.find(display.id); named != names.end()) {
            display.name = named->second;
        }
    }
    return displays;
}

}  // namespace quorvane
