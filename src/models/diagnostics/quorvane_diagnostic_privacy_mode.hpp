#pragma once

#include <optional>
#include <string_view>

namespace quorvane {

// How much a diagnostic report may say about the hardware.
enum class QuorvaneDiagnosticPrivacyMode {
    // Displays named by position; numbers, frames, modes, control codes, raw
    // control values and colour-profile names left out.
    privacyPreserving,
    // Those details included.
    hardwareDetails,
};

std::string_view caseName(QuorvaneDiagnosticPrivacyMode mode);
std::optional<QuorvaneDiagnosticPrivacyMode> parseCaseName(std::string_view text,
                                                           QuorvaneDiagnosticPrivacyMode*);

}  // namespace quorvane
