#pragma once

#include <optional>
#include <string>

#include "models/ddc/ddc_capability_cache.hpp"

namespace quorvane {

// What loading the capability cache gave: the cache (empty when nothing
// usable was stored), whether a stored record was discarded, and the notice
// for the user when it was.
struct DDCCapabilityCacheLoadResult {
    DDCCapabilityCache cache;
    bool recoveredFromCorruption = false;
    std::optional<std::string> message;

    bool operator==(const DDCCapabilityCacheLoadResult&) const = default;
};

// Loads and saves the DDC capability cache. Neither fails as a call: a load
// falls back to the empty cache, a save that cannot be made leaves the stored
// record as it was and reports nothing.
class DDCCapabilityCacheStoring {
  public:
    virtual ~DDCCapabilityCacheStoring() = default;
    virtual DDCCapabilityCacheLoadResult loadResult() const = 0;
    virtual void save(const DDCCapabilityCache& cache) = 0;
};

}  // namespace quorvane
