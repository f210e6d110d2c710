#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "models/diagnostics/quorvane_support_capability_row.hpp"
#include "models/diagnostics/quorvane_support_status.hpp"
#include "models/diagnostics/quorvane_support_wizard_step.hpp"

namespace quorvane {

// What can be adjusted on one display's connection and what to try next.
// Rebuilt whenever it is asked for; never stored. Identified by `displayID`.
struct QuorvaneDisplaySupportSummary {
    std::uint32_t displayID = 0;
    std::string title;     // alias, identity name or display name
    std::string subtitle;  // "내장 디스플레이" or "외장 디스플레이"
    QuorvaneSupportStatus overallStatus = QuorvaneSupportStatus::informational;
    std::string overallMessage;
    std::vector<QuorvaneSupportCapabilityRow> capabilities;  // five rows, fixed order
    std::vector<QuorvaneSupportWizardStep> wizardSteps;      // four steps
    std::vector<std::string> technicalDetails;
    bool hasReliableSerial = false;

    bool operator==(const QuorvaneDisplaySupportSummary&) const = default;
};

}  // namespace quorvane
