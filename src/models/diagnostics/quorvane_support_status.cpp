#include "models/diagnostics/quorvane_support_status.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneSupportStatus status) {
    switch (status) {
        case QuorvaneSupportStatus::available:
            return "available";
        case QuorvaneSupportStatus::needsCheck:
            return "needsCheck";
        case QuorvaneSupportStatus::checking:
            return "checking";
        case QuorvaneSupportStatus::limited:
            return "limited";
        case QuorvaneSupportStatus::unavailable:
            return "unavailable";
        case QuorvaneSupportStatus::explicitAdvanced:
            return "explicitAdvanced";
        case QuorvaneSupportStatus::informational:
            return "informational";
    }
    return "informational";
}

std::optional<QuorvaneSupportStatus> parseCaseName(std::string_view text, QuorvaneSupportStatus*) {
    for (QuorvaneSupportStatus status : kQuorvaneSupportStatusAllCases) {
        if (caseName(status) == text)
            return status;
    }
    return std::nullopt;
}

}  // namespace quorvane
