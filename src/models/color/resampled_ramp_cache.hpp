#pragma once

#include <cstddef>
#include <optional>

#include "models/color/gamma_ramp.hpp"
#include "models/color/transfer_tables.hpp"

namespace quorvane {

// The ramp last made from a set of tables for one ramp size: one preset put
// on many outputs (which mostly share a ramp size) is resampled once, not
// once an output. Not shared between threads.
class ResampledRampCache {
  public:
    // GammaRamp::fromTables(tables, size), made again only when the tables
    // or the size differ from the last call's.
    const GammaRamp& rampFor(const TransferTables& tables, std::size_t size);

  private:
    struct Made {
        TransferTables tables;
        std::size_t size = 0;
        GammaRamp ramp;
    };
    std::optional<Made> last_;
};

}  // namespace quorvane
