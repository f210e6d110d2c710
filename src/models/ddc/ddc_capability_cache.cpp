#include "models/ddc/ddc_capability_cache.hpp"

#include "models/coding/number_format.hpp"
#include "models/display/display_identity.hpp"

namespace quorvane {
namespace {

DDCCapabilityControlRecord answeredRecord(const DDCControlValue& value,
                                          const DDCCapabilityControlRecord* previous,
                                          Date checkedAt) {
    DDCCapabilityControlRecord record;
    record.codeRawValue = rawValue(value.code);
    record.state = DDCCapabilityControlState::supported;
    record.currentValue = value.current;
    record.maximumValue = value.maximum;
    record.lastSucceededAt = checkedAt;
    if (previous)
        record.lastFailedAt = previous->lastFailedAt;
    return record;
}

DDCCapabilityControlRecord failedRecord(DDCVCPCode code, const std::string& message,
                                        const DDCCapabilityControlRecord* previous,
                                        Date checkedAt) {
    DDCCapabilityControlRecord record;
    record.codeRawValue = rawValue(code);
    const bool answeredBefore =
        previous && (previous->state == DDCCapabilityControlState::supported ||
                     previous->lastSucceededAt.has_value());
    record.state = answeredBefore ? DDCCapabilityControlState::unstable
                                  : DDCCapabilityControlState::unsupported;
    if (previous) {
        record.currentValue = previous->currentValue;
        record.maximumValue = previous->maximumValue;
        record.lastSucceededAt = previous->lastSucceededAt;
    }
    record.failureReason = message;
    record.lastFailedAt = checkedAt;
    return record;
}

}  // namespace

DDCCapabilityEntry DDCCapabilityCache::merge(const DDCSnapshot& snapshot,
                                             const DisplaySnapshot& display, Date checkedAt) {
    const DisplayIdentity identity = DisplayIdentity::of(display);
    const auto previousEntry = entriesByDisplayIdentity.find(identity.rawValue);

    std::map<std::string, DDCCapabilityControlRecord> controls;
    for (DDCVCPCode code : kAllDDCVCPCodes) {
        const std::string controlKey = formatDecimal(static_cast<unsigned>(rawValue(code)));
        const DDCCapabilityControlRecord* previous = nullptr;
        if (previousEntry != entriesByDisplayIdentity.end()) {
            auto it = previousEntry->second.controls.find(controlKey);
            if (it != previousEntry->second.controls.end())
                previous = &it->second;
        }

        if (auto value = snapshot.values.find(code); value != snapshot.values.end()) {
            controls[controlKey] = answeredRecord(value->second, previous, checkedAt);
        } else if (auto failure = snapshot.unsupported.find(code);
                   failure != snapshot.unsupported.end()) {
            controls[controlKey] = failedRecord(code, failure->second, previous, checkedAt);
        } else if (previous) {
            controls[controlKey] = *previous;
        }
    }

    DDCCapabilityEntry entry;
    entry.key = {identity.rawValue, DDCCapabilityCacheKey::connectionFingerprintFor(display)};
    entry.displayName = display.name;
    entry.hasReliableSerial = identity.hasReliableSerial;
    entry.lastCheckedAt = checkedAt;
    entry.busCount = snapshot.busCount;
    entry.displayFailureReason = snapshot.lastError;
    entry.controls = std::move(controls);

    entriesByDisplayIdentity[identity.rawValue] = entry;
    return entry;
}

}  // namespace quorvane
