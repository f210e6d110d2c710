#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/diagnostics/quorvane_diagnostic_capability.hpp"

namespace quorvane {

// A control that answered the last monitor read-out.
struct QuorvaneDiagnosticDDCValue {
    std::string label;
    std::optional<std::string> technicalCode;
    std::optional<std::uint16_t> currentValue;
    std::optional<std::uint16_t> maximumValue;

    Json toJson() const;
    static QuorvaneDiagnosticDDCValue fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticDDCValue&) const = default;
};

// A control that did not answer the last monitor read-out.
struct QuorvaneDiagnosticUnsupportedControl {
    std::string label;
    std::optional<std::string> technicalCode;
    std::string failureReason;  // after redaction

    Json toJson() const;
    static QuorvaneDiagnosticUnsupportedControl fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticUnsupportedControl&) const = default;
};

// The last monitor read-out of one display.
struct QuorvaneDiagnosticDDCSnapshot {
    std::optional<std::uint32_t> busCount;
    std::optional<std::string> lastError;  // after redaction
    std::vector<QuorvaneDiagnosticDDCValue> values;
    std::vector<QuorvaneDiagnosticUnsupportedControl> unsupported;

    Json toJson() const;
    static QuorvaneDiagnosticDDCSnapshot fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticDDCSnapshot&) const = default;
};

// One monitor write of the display.
struct QuorvaneDiagnosticWriteStatus {
    std::string label;
    std::optional<std::string> technicalCode;
    std::string phase;  // "pending", "succeeded" or "failed"
    std::optional<std::uint16_t> requestedRawValue;
    std::optional<std::string> message;  // after redaction

    Json toJson() const;
    static QuorvaneDiagnosticWriteStatus fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticWriteStatus&) const = default;
};

// The monitor-control section of one display.
struct QuorvaneDiagnosticDDCState {
    bool probeBusy = false;
    bool writeBusy = false;
    std::optional<QuorvaneDiagnosticCapability> capability;
    std::optional<QuorvaneDiagnosticDDCSnapshot> snapshot;
    std::vector<QuorvaneDiagnosticWriteStatus> writeStatuses;

    Json toJson() const;
    static QuorvaneDiagnosticDDCState fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticDDCState&) const = default;
};

}  // namespace quorvane
