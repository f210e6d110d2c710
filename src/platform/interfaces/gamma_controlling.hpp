#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "models/color/color_adjustment.hpp"
#include "models/color/gamma_ramp.hpp"
#include "models/color/transfer_tables.hpp"
#include "models/display/display_control_error.hpp"
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

    // The same tables written to each display as setTransferTables() writes
    // them to one: one answer per display, in their order, none where the
    // write succeeded. Once the display server is found unreachable, every
    // display not written yet is answered so and none is tried. A
    // controller may send every write before it waits for any answer.
    virtual std::vector<std::optional<DisplayControlError>> setTransferTablesOnEach(
        const TransferTables& tables, const std::vector<DisplayID>& displayIDs) {
        std::vector<std::optional<DisplayControlError>> answers(displayIDs.size());
        for (std::size_t index = 0; index < displayIDs.size(); ++index) {
            try {
                setTransferTables(tables, displayIDs[index]);
            } catch (const DisplayControlError& error) {
                if (error.isDisplayServerUnreachable()) {
                    std::fill(answers.begin() + static_cast<std::ptrdiff_t>(index), answers.end(),
                              error);
                    return answers;
                }
                answers[index] = error;
            }
        }
        return answers;
    }

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
