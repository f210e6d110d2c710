#pragma once

#include <memory>
#include <string>

#include "models/color/resampled_ramp_cache.hpp"
#include "platform/interfaces/gamma_controlling.hpp"

namespace quorvane {

class SharedXConnection;

// Writes transfer tables into the gamma ramp of the CRTC that drives an
// output, resampled to the ramp's size. X reports a refused request
// asynchronously, so every write waits for the server's answer and turns a
// reported error into DisplayControlError::coreGraphics with X's error code.
//
// The output's CRTC and ramp size are remembered on the shared connection,
// so a write is one request and one round trip; they are read again after
// the screen changed or a write failed.
class GammaController final : public GammaControlling {
  public:
    static constexpr int kStandardTableSize = 256;

    // A connection of its own on `displayName` ("" means $DISPLAY).
    explicit GammaController(int tableSize = kStandardTableSize, std::string displayName = {});
    GammaController(int tableSize, std::shared_ptr<SharedXConnection> connection);

    int tableSize() const { return tableSize_; }

    TransferTables makeTransferTables(const ColorAdjustment& adjustment) const override;
    void apply(const ColorAdjustment& adjustment, DisplayID displayID) override;
    void setTransferTables(const TransferTables& tables, DisplayID displayID) override;
    // Every write goes out before the one wait for the server's answers.
    std::vector<std::optional<DisplayControlError>> setTransferTablesOnEach(
        const TransferTables& tables, const std::vector<DisplayID>& displayIDs) override;
    std::optional<GammaRamp> currentRamp(DisplayID displayID) override;
    void restoreSystemColorSettings() override;

  private:
    int tableSize_;
    std::shared_ptr<SharedXConnection> connection_;
    // Used under the connection's lease, which callers on several threads
    // take in turn.
    ResampledRampCache ramps_;
};

}  // namespace quorvane
