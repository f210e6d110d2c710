#pragma once

#include <string>

#include "platform/interfaces/gamma_controlling.hpp"

namespace quorvane {

// Writes transfer tables into the gamma ramp of the CRTC that drives an
// output, resampled to the ramp's size. X reports a refused request
// asynchronously, so every write waits for the server's answer and turns a
// reported error into DisplayControlError::coreGraphics with X's error code.
// Every call opens its own connection.
class GammaController final : public GammaControlling {
  public:
    static constexpr int kStandardTableSize = 256;

    // "" means $DISPLAY.
    explicit GammaController(int tableSize = kStandardTableSize, std::string displayName = {});

    int tableSize() const { return tableSize_; }

    TransferTables makeTransferTables(const ColorAdjustment& adjustment) const override;
    void apply(const ColorAdjustment& adjustment, DisplayID displayID) override;
    void setTransferTables(const TransferTables& tables, DisplayID displayID) override;
    void restoreSystemColorSettings() override;

  private:
    int tableSize_;
    std::string displayName_;
};

}  // namespace quorvane
