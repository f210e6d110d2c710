#pragma once

#include <map>
#include <string>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/ddc/ddc_capability_entry.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {

// Per monitor (by display identity raw value), which controls answered over
// DDC/CI, as the last probe and the ones before it left them.
struct DDCCapabilityCache {
    static constexpr int kSchemaVersion = 1;

    int schemaVersion = kSchemaVersion;
    std::map<std::string, DDCCapabilityEntry> entriesByDisplayIdentity;

    bool operator==(const DDCCapabilityCache&) const = default;

    static DDCCapabilityCache empty() { return {}; }

    // Folds one probe of `display` into its entry and returns the new entry.
    // Answered controls become supported; failed ones unstable when they
    // answered before, else unsupported; controls the probe said nothing
    // about keep their records. Other displays' entries are untouched.
    DDCCapabilityEntry merge(const DDCSnapshot& snapshot, const DisplaySnapshot& display,
                             Date checkedAt);

    template <class J>
    J toJson() const {
        J object = J::object();
        object["schemaVersion"] = schemaVersion;
        object["entriesByDisplayIdentity"] = encodeValue<J>(entriesByDisplayIdentity);
        return object;
    }

    template <class J>
    static DDCCapabilityCache fromJson(const J& object) {
        DDCCapabilityCache cache;
        cache.schemaVersion = requireKey<int>(object, "schemaVersion");
        cache.entriesByDisplayIdentity = requireKey<std::map<std::string, DDCCapabilityEntry>>(
            object, "entriesByDisplayIdentity");
        return cache;
    }
};

}  // namespace quorvane
