#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "models/coding/json_coding.hpp"

namespace quorvane {

// The settings and status section of a diagnostic report.
struct QuorvaneDiagnosticAppState {
    std::string statusMessage;  // after redaction
    std::string textSize;       // the text-size setting's case name
    std::string appearance;     // the appearance setting's case name
    bool autoApplyEnabled = false;
    bool softwareColorCorrectionEnabled = false;
    bool brightnessSyncEnabled = false;
    std::int64_t displayGroupCount = 0;
    std::optional<std::string> brightnessSyncGroupID;  // after redaction
    bool sceneHotKeysEnabled = false;
    std::int64_t sceneHotKeyBindingCount = 0;
    std::int64_t sceneHotKeyRegisteredCount = 0;

    Json toJson() const;
    static QuorvaneDiagnosticAppState fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticAppState&) const = default;
};

}  // namespace quorvane
