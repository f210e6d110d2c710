#pragma once

#include <optional>
#include <string>

#include "models/diagnostics/quorvane_support_action.hpp"
#include "models/diagnostics/quorvane_support_status.hpp"

namespace quorvane {

// One numbered health-check step; identified by `id`.
struct QuorvaneSupportWizardStep {
    std::string id;
    std::string title;  // begins "1. " to "4. "
    std::string detail;
    QuorvaneSupportStatus status = QuorvaneSupportStatus::informational;
    std::optional<QuorvaneSupportAction> action;

    bool operator==(const QuorvaneSupportWizardStep&) const = default;
};

}  // namespace quorvane
