#pragma once

#include <vector>

#include "models/display/display_snapshot.hpp"
#include "platform/interfaces/display_snapshot_request.hpp"

namespace quorvane {

// Display lists for the store's quick refreshes, re-using the modes of
// displays that have not changed. Synchronous; never fails.
class DisplaySnapshotBuilding {
  public:
    virtual ~DisplaySnapshotBuilding() = default;

    // For a refresh caused by a window being shown.
    virtual std::vector<DisplaySnapshot> passiveDisplaySnapshots(
        const std::vector<DisplaySnapshot>& previousDisplays, const ScreenNames& screenNames) = 0;
    // Published at once while a full refresh runs.
    virtual std::vector<DisplaySnapshot> lightweightDisplaySnapshots(
        const std::vector<DisplaySnapshot>& previousDisplays, const ScreenNames& screenNames) = 0;
    // A synchronous full read.
    virtual std::vector<DisplaySnapshot> fullDisplaySnapshots(const ScreenNames& screenNames) = 0;
};

}  // namespace quorvane
