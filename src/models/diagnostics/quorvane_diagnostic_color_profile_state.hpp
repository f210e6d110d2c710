#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "models/coding/json_coding.hpp"

namespace quorvane {

// One offered colour profile in a hardware-details report.
struct QuorvaneDiagnosticColorProfile {
    std::string profileID;  // after redaction
    std::string name;       // after redaction
    bool isCurrent = false;
    bool isDefault = false;
    bool isFactory = false;

    Json toJson() const;
    static QuorvaneDiagnosticColorProfile fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticColorProfile&) const = default;
};

// The colour-profile section of one display.
struct QuorvaneDiagnosticColorProfileState {
    std::string status;  // "available" or "unavailable"
    std::optional<std::string> currentProfileName;
    std::optional<std::string> currentProfileID;
    std::optional<bool> currentProfileIsDefault;
    std::optional<bool> currentProfileIsFactory;
    std::int64_t availableProfileCount = 0;
    std::vector<QuorvaneDiagnosticColorProfile> profiles;  // empty in privacy-preserving reports
    std::optional<std::string> message;

    Json toJson() const;
    static QuorvaneDiagnosticColorProfileState fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticColorProfileState&) const = default;
};

}  // namespace quorvane
