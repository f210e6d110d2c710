#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/interfaces/display_managing.hpp"
#include "platform/interfaces/display_snapshot_building.hpp"

namespace quorvane {

// Display lists for quick refreshes. Listing modes is the costly part of a
// read, so a display that has not changed since the previous list keeps
// that list's modes instead of reading them again.
class DisplaySnapshotBuilder final : public DisplaySnapshotBuilding {
  public:
    DisplaySnapshotBuilder(std::shared_ptr<DisplayManaging> displayManager,
                           std::shared_ptr<BrightnessControlling> brightnessController);

    // Without modes, with brightness; a full read instead when any display
    // is new or changed.
    std::vector<DisplaySnapshot> passiveDisplaySnapshots(
        const std::vector<DisplaySnapshot>& previousDisplays,
        const ScreenNames& screenNames) override;
    // Neither modes nor brightness; new displays keep empty modes.
    std::vector<DisplaySnapshot> lightweightDisplaySnapshots(
        const std::vector<DisplaySnapshot>& previousDisplays,
        const ScreenNames& screenNames) override;
    std::vector<DisplaySnapshot> fullDisplaySnapshots(const ScreenNames& screenNames) override;

    // The first previous snapshot that agrees with `display` in ID, name,
    // vendor, model and serial numbers, built-in flag and integral bounds.
    static std::optional<DisplaySnapshot> cachedDisplayModes(
        const DisplaySnapshot& display, const std::vector<DisplaySnapshot>& previousDisplays);

  private:
    std::shared_ptr<DisplayManaging> displayManager_;
    std::shared_ptr<BrightnessControlling> brightnessController_;
};

}  // namespace quorvane
