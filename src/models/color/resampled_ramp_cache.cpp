#include "models/color/resampled_ramp_cache.hpp"

namespace quorvane {

const GammaRamp& ResampledRampCache::rampFor(const TransferTables& tables, std::size_t size) {
    if (!last_ || last_->size != size || last_->tables != tables)
        last_ = Made{tables, size, GammaRamp::fromTables(tables, size)};
    return last_->ramp;
}

}  // namespace quorvane
