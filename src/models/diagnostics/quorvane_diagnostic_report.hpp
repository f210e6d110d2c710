#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/diagnostics/quorvane_diagnostic_app_state.hpp"
#include "models/diagnostics/quorvane_diagnostic_display.hpp"
#include "models/diagnostics/quorvane_diagnostic_environment.hpp"
#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"

namespace quorvane {

// The document a user hands to support. Only ever written, never read back
// by the application.
struct QuorvaneDiagnosticReport {
    static constexpr std::string_view kDocumentType = "QuorvaneDiagnosticReport";
    static constexpr std::int64_t kSchemaVersion = 4;

    std::string documentType{kDocumentType};
    std::int64_t schemaVersion = kSchemaVersion;
    QuorvaneDiagnosticPrivacyMode privacyMode = QuorvaneDiagnosticPrivacyMode::privacyPreserving;
    bool hardwareDetailsIncluded = false;
    Date generatedAt{};
    QuorvaneDiagnosticEnvironment environment;
    QuorvaneDiagnosticAppState appState;
    std::vector<QuorvaneDiagnosticDisplay> displays;

    Json toJson() const;
    static QuorvaneDiagnosticReport fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticReport&) const = default;
};

}  // namespace quorvane
