#pragma once

#include <vector>

#include "models/display/display_mode_snapshot.hpp"
#include "models/display/display_snapshot.hpp"
#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/interfaces/display_snapshot_request.hpp"

namespace quorvane {

// The active displays and their modes. Conformers keep no state: every call
// reads the system afresh, and calls may come from the store's thread and
// from the background full refresh at the same time.
class DisplayManaging {
  public:
    virtual ~DisplayManaging() = default;

    // One snapshot per active display, in the system's order. An
    // unreachable display system gives an empty list, or throws
    // DisplayControlError::displayServerUnreachable() when the request says
    // failWhenUnreachable (displayServerLost() for a connection that broke).
    virtual std::vector<DisplaySnapshot> activeDisplays(BrightnessControlling& brightnessController,
                                                        const DisplaySnapshotRequest& request) = 0;

    // Switches the display to the system mode that matches `mode`. Throws
    // DisplayControlError: modeNotFound when no mode matches, coreGraphics
    // with the system's code when the switch fails.
    virtual void setMode(const DisplayModeSnapshot& mode, DisplayID displayID) = 0;

    // The names of the current displays by ID, read once per refresh on the
    // store's thread and handed to the enumerations. A conformer whose
    // connection stays lost once it broke (a command's) throws
    // DisplayControlError::displayServerLost() instead of naming nothing.
    virtual ScreenNames screenNamesByDisplayID() = 0;
};

}  // namespace quorvane
