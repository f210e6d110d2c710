#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "models/display/display_control_error.hpp"
#include "platform/interfaces/display_managing.hpp"

namespace quorvane {

// Displays kept in memory. Snapshots are stored as a full read gives them;
// each call strips what its request did not ask for and names the displays
// as the system would. Safe to call from several threads.
class SimulatedDisplayManager final : public DisplayManaging {
  public:
    std::vector<DisplaySnapshot> activeDisplays(BrightnessControlling& brightnessController,
                                                const DisplaySnapshotRequest& request) override;
    // Marks the matching mode current and moves the bounds to its size.
    void setMode(const DisplayModeSnapshot& mode, DisplayID displayID) override;
    ScreenNames screenNamesByDisplayID() override;

    void setDisplays(std::vector<DisplaySnapshot> displays);
    void setScreenNames(ScreenNames names);
    // The next setMode calls throw this until it is cleared.
    void setModeFailure(std::optional<DisplayControlError> failure);
    // While set, the display system cannot be reached: enumerations give
    // nothing, or throw when the request asks for the failure.
    void setUnreachable(bool unreachable);

    std::vector<DisplaySnapshot> displays() const;
    std::vector<DisplaySnapshotRequest> requests() const;
    int screenNameReads() const;

  private:
    mutable std::mutex mutex_;
    std::vector<DisplaySnapshot> displays_;
    ScreenNames screenNames_;
    std::optional<DisplayControlError> modeFailure_;
    bool unreachable_ = false;
    std::vector<DisplaySnapshotRequest> requests_;
    int screenNameReads_ = 0;
};

}  // namespace quorvane
