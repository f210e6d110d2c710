#pragma once

#include <optional>

#include "models/display/display_snapshot.hpp"

namespace quorvane {

// The built-in panel's hardware brightness, 0 (darkest) ... 1 (brightest).
// Conformers keep no state between calls and may be called from the store's
// thread and from the background full refresh at the same time.
class BrightnessControlling {
  public:
    virtual ~BrightnessControlling() = default;

    // None when the display offers no brightness control or it cannot be read.
    virtual std::optional<double> readBrightness(DisplayID displayID) = 0;

    // Passes the value on unchanged (range limits are the caller's). Throws
    // DisplayControlError: brightnessUnsupported when the display has no
    // brightness control, ioKit(code) when the write is refused.
    virtual void setBrightness(DisplayID displayID, double value) = 0;
};

}  // namespace quorvane
