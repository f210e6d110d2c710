#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "models/display/display_control_error.hpp"
#include "platform/interfaces/gamma_controlling.hpp"

namespace quorvane {

// Transfer tables kept per display in memory. Writes to a display that is
// not known, or while a failure is injected, throw and change nothing.
class SimulatedGammaController final : public GammaControlling {
  public:
    explicit SimulatedGammaController(int tableSize = 256);

    TransferTables makeTransferTables(const ColorAdjustment& adjustment) const override;
    void apply(const ColorAdjustment& adjustment, DisplayID displayID) override;
    void setTransferTables(const TransferTables& tables, DisplayID displayID) override;
    // The written tables at the controller's size, or the identity ramp
    // where none were written; none for an unknown display or while a
    // failure is injected.
    std::optional<GammaRamp> currentRamp(DisplayID displayID) override;
    // Forgets every written table (the displays show the system's own again).
    void restoreSystemColorSettings() override;

    void setKnownDisplays(std::set<DisplayID> displays);
    // Every write to this display throws the error until it is cleared.
    void setFailure(DisplayID displayID, std::optional<DisplayControlError> failure);

    // The tables last written to the display; none when it shows the system's own.
    std::optional<TransferTables> tables(DisplayID displayID) const;
    int writeCount() const;
    int restoreCount() const;

  private:
    int tableSize_;
    mutable std::mutex mutex_;
    std::set<DisplayID> knownDisplays_;
    std::map<DisplayID, DisplayControlError> failures_;
    std::map<DisplayID, TransferTables> tables_;
    int writeCount_ = 0;
    int restoreCount_ = 0;
};

}  // namespace quorvane
