#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/diagnostics/quorvane_support_action.hpp"
#include "models/diagnostics/quorvane_support_status.hpp"

namespace quorvane {

// One capability of a display in its support summary; identified by `id`.
struct QuorvaneSupportCapabilityRow {
    // "software-color", "native-brightness", "monitor-direct-control",
    // "color-profile" or "display-identity".
    std::string id;
    std::string title;
    std::string detail;
    QuorvaneSupportStatus status = QuorvaneSupportStatus::informational;
    std::optional<std::string> technicalDetail;  // short English or technical note
    std::vector<QuorvaneSupportAction> actions;  // in display order; may be empty

    bool operator==(const QuorvaneSupportCapabilityRow&) const = default;
};

}  // namespace quorvane
