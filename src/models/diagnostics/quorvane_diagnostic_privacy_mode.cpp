#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneDiagnosticPrivacyMode mode) {
    switch (mode) {
        case QuorvaneDiagnosticPrivacyMode::privacyPreserving:
            return "privacyPreserving";
        case QuorvaneDiagnosticPrivacyMode::hardwareDetails:
            return "hardwareDetails";
    }
    return "privacyPreserving";
}

std::optional<QuorvaneDiagnosticPrivacyMode> parseCaseName(std::string_view text,
                                                           QuorvaneDiagnosticPrivacyMode*) {
    if (text == "privacyPreserving")
        return QuorvaneDiagnosticPrivacyMode::privacyPreserving;
    if (text == "hardwareDetails")
        return QuorvaneDiagnosticPrivacyMode::hardwareDetails;
    return std::nullopt;
}

}  // namespace quorvane
