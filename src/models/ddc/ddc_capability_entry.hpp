#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/ddc/ddc_capability_cache_key.hpp"
#include "models/ddc/ddc_capability_control_record.hpp"

namespace quorvane {

// What one monitor answered at its last probe, and before.
struct DDCCapabilityEntry {
    DDCCapabilityCacheKey key;
    std::string displayName;
    bool hasReliableSerial = false;
    Date lastCheckedAt{};
    std::uint32_t busCount = 0;
    std::optional<std::string> displayFailureReason;
    // By VCP code in decimal ("16" brightness, "96" input source, ...).
    std::map<std::string, DDCCapabilityControlRecord> controls;

    bool operator==(const DDCCapabilityEntry&) const = default;

    std::vector<DDCCapabilityControlRecord> supportedRecords() const;
    std::vector<DDCCapabilityControlRecord> unstableRecords() const;

    // The labels of the supported controls by code, joined with ", "; without
    // any, the failure reason or "응답한 모니터 설정 항목 없음".
    std::string supportedSummary() const;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["key"] = key.toJson<J>();
        object["displayName"] = displayName;
        object["hasReliableSerial"] = hasReliableSerial;
        object["lastCheckedAt"] = formatIso8601(lastCheckedAt);
        object["busCount"] = busCount;
        putOptional(object, "displayFailureReason", displayFailureReason);
        object["controls"] = encodeValue<J>(controls);
        return object;
    }

    template <class J>
    static DDCCapabilityEntry fromJson(const J& object) {
        DDCCapabilityEntry entry;
        entry.key = requireKey<DDCCapabilityCacheKey>(object, "key");
        entry.displayName = requireKey<std::string>(object, "displayName");
        entry.hasReliableSerial = requireKey<bool>(object, "hasReliableSerial");
        entry.lastCheckedAt = requireDateKey(object, "lastCheckedAt");
        entry.busCount = requireKey<std::uint32_t>(object, "busCount");
        entry.displayFailureReason = optionalKey<std::string>(object, "displayFailureReason");
        entry.controls =
            requireKey<std::map<std::string, DDCCapabilityControlRecord>>(object, "controls");
        return entry;
    }
};

}  // namespace quorvane
