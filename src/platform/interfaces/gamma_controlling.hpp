#pragma once

#include <optional>

#include "models/color/color_adjustment.hpp"
#include "models/color/gamma_ramp.hpp"
#include "models/color/transfer_tables.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {

// The only writer of gamma transfer tables.
class GammaControlling {
  public:
    virtual ~GammaControlling() = default;

    // Pure: the three tables for an adjustment at the controller's table size.
    virtual TransferTables makeTransferTables(const ColorAdjustment& adjustment) const = 0;

    // Builds the tables and writes them to the display. Throws
    // DisplayControlError::coreGraphics with the system's error code; the
    // display then keeps the tables it had.
    virtual void apply(const ColorAdjustment& adjustment, DisplayID displayID) = 0;

    // Writes tables that the caller built with makeTransferTables(); fails as
    // apply() does. The store's re-apply and neutral-output roads and the
    // command line's preset apply use it directly.
    virtual void setTransferTables(const TransferTables& tables, DisplayID displayID) = 0;

    // The ramp the display holds now, read back from the hardware (one
    // request): what any program, this one or another, last put there. None
    // when it cannot be read.
    virtual std::optional<GammaRamp> currentRamp(DisplayID displayID) = 0;

    // Puts the system's own tables back on every active display: its
    // calibration where its ICC profile carries one, else the identity ramp.
    // Best effort: never fails.
    virtual void restoreSystemColorSettings() = 0;
};

}  // namespace quorvane
