#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"

namespace quorvane {

// supported: answered at the last probe; unsupported: failed at the last
// probe and never answered; unstable: failed at the last probe but answered
// before.
enum class DDCCapabilityControlState { supported, unsupported, unstable };

std::string_view caseName(DDCCapabilityControlState state);
std::optional<DDCCapabilityControlState> parseCaseName(std::string_view text,
                                                       DDCCapabilityControlState*);

// What one control of one monitor did at the probes so far.
struct DDCCapabilityControlRecord {
    std::uint8_t codeRawValue = 0;
    DDCCapabilityControlState state = DDCCapabilityControlState::unsupported;
    std::optional<std::uint16_t> currentValue;  // last value read while it answered
    std::optional<std::uint16_t> maximumValue;
    std::optional<std::string> failureReason;  // absent while it answers
    std::optional<Date> lastSucceededAt;
    std::optional<Date> lastFailedAt;

    bool operator==(const DDCCapabilityControlRecord&) const = default;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["codeRawValue"] = codeRawValue;
        object["state"] = encodeValue<J>(state);
        putOptional(object, "currentValue", currentValue);
        putOptional(object, "maximumValue", maximumValue);
        putOptional(object, "failureReason", failureReason);
        if (lastSucceededAt)
            object["lastSucceededAt"] = formatIso8601(*lastSucceededAt);
        if (lastFailedAt)
            object["lastFailedAt"] = formatIso8601(*lastFailedAt);
        return object;
    }

    template <class J>
    static DDCCapabilityControlRecord fromJson(const J& object) {
        DDCCapabilityControlRecord record;
        record.codeRawValue = requireKey<std::uint8_t>(object, "codeRawValue");
        record.state = requireKey<DDCCapabilityControlState>(object, "state");
        record.currentValue = optionalKey<std::uint16_t>(object, "currentValue");
        record.maximumValue = optionalKey<std::uint16_t>(object, "maximumValue");
        record.failureReason = optionalKey<std::string>(object, "failureReason");
        record.lastSucceededAt = optionalDateKey(object, "lastSucceededAt");
        record.lastFailedAt = optionalDateKey(object, "lastFailedAt");
        return record;
    }
};

}  // namespace quorvane
