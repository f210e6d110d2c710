#pragma once

#include <cstddef>

#include "models/color/gamma_ramp.hpp"
#include "models/color/transfer_tables.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

// What "the system's own colour output" means for one output: the `vcgt`
// calibration of the ICC profile published for it on the root window,
// resampled to the CRTC's ramp size, or the identity ramp where no profile
// (or no calibration in it) is published. Restoring and writing neutral
// colour both write this, so a calibrated screen keeps its calibration.
GammaRamp restoreRamp(XConnection& connection, std::size_t outputIndex, std::size_t rampSize);

// Whether the tables change nothing (every entry within half a 16-bit step
// of the identity), i.e. a write of them means "neutral".
bool isNeutralTables(const TransferTables& tables);

}  // namespace quorvane
