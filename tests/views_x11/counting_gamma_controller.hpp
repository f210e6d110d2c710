#pragma once

#include <string>

#include "platform/linux/gamma_controller.hpp"

namespace quorvane::testing {

// The real gamma controller, counting the tables it writes.
class CountingGammaController final : public GammaControlling {
  public:
    explicit CountingGammaController(const std::string& displayName)
        : real_(GammaController::kStandardTableSize, displayName) {}

    TransferTables makeTransferTables(const ColorAdjustment& adjustment) const override {
        return real_.makeTransferTables(adjustment);
    }
    void apply(const ColorAdjustment& adjustment, DisplayID displayID) override {
        ++writes;
        real_.apply(adjustment, displayID);
    }
    void setTransferTables(const TransferTables& tables, DisplayID displayID) override {
        ++writes;
        real_.setTransferTables(tables, displayID);
    }
    std::optional<GammaRamp> currentRamp(DisplayID displayID) override {
        return real_.currentRamp(displayID);
    }
    void restoreSystemColorSettings() override { real_.restoreSystemColorSettings(); }

    int writes = 0;

  private:
    GammaController real_;
};

}  // namespace quorvane::testing
