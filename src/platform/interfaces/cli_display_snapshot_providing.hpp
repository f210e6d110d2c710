#pragma once

#include <vector>

#include "models/display/display_snapshot.hpp"
#include "platform/interfaces/brightness_controlling.hpp"

namespace quorvane {

// The command line's display list: the same snapshots as a display read
// without modes, with the names read once per call.
class CLIDisplaySnapshotProviding {
  public:
    virtual ~CLIDisplaySnapshotProviding() = default;

    virtual std::vector<DisplaySnapshot> activeCLIDisplays(
        BrightnessControlling& brightnessController, bool includeHardwareBrightness) = 0;
};

}  // namespace quorvane
