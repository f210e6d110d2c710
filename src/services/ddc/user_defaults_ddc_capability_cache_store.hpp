#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interfaces/ddc_capability_cache_storing.hpp"
#include "platform/interfaces/defaults_storing.hpp"

namespace quorvane {

// The capability cache as one compact JSON record (sorted keys, ISO 8601
// dates) in the user's defaults. A record that cannot be decoded, or that
// has another schema version, loads as the empty cache with a notice; a
// load never writes, so the old record stays until the next save.
class UserDefaultsDDCCapabilityCacheStore final : public DDCCapabilityCacheStoring {
  public:
    static std::string standardStorageKey();

    explicit UserDefaultsDDCCapabilityCacheStore(std::shared_ptr<DefaultsStoring> defaults,
                                                 std::string storageKey = standardStorageKey());

    DDCCapabilityCacheLoadResult loadResult() const override;
    void save(const DDCCapabilityCache& cache) override;

    // The store's coding, for callers that write the record themselves.
    static std::optional<std::string> encode(const DDCCapabilityCache& cache);
    // None when the bytes are not a cache record.
    static std::optional<DDCCapabilityCache> decode(std::string_view bytes);

    const std::string& storageKey() const { return storageKey_; }

  private:
    std::shared_ptr<DefaultsStoring> defaults_;
    std::string storageKey_;
};

}  // namespace quorvane
