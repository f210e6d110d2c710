#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"

namespace quorvane {

// One control record of the display's capability-cache entry.
struct QuorvaneDiagnosticCapabilityControl {
    std::string label;
    std::optional<std::string> technicalCode;  // "0x10"; hardware-details reports only
    std::string state;                         // "supported", "unstable" or "unsupported"
    std::optional<std::uint16_t> currentValue;
    std::optional<std::uint16_t> maximumValue;
    std::optional<std::string> failureReason;  // after redaction
    std::optional<Date> lastSucceededAt;
    std::optional<Date> lastFailedAt;

    Json toJson() const;
    static QuorvaneDiagnosticCapabilityControl fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticCapabilityControl&) const = default;
};

// What is known of the monitor's DDC/CI capability: the badge and, with a
// cache entry, that entry's result.
struct QuorvaneDiagnosticCapability {
    std::string badgeKind;
    std::string badgeTitle;
    std::optional<std::string> badgeDetail;  // after redaction
    std::optional<Date> lastCheckedAt;
    std::optional<std::uint32_t> busCount;
    std::optional<std::string> displayFailureReason;  // after redaction
    std::vector<QuorvaneDiagnosticCapabilityControl> controls;

    Json toJson() const;
    static QuorvaneDiagnosticCapability fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticCapability&) const = default;
};

}  // namespace quorvane
