#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// What a display shows of its saved software colour correction.
enum class QuorvaneEffectRecoveryMode {
    active,          // the saved correction (the normal state)
    suspended,       // neutral: switched off for this display, saved values kept
    comparingStock,  // neutral for a comparison with the uncorrected screen
};

inline constexpr std::array<QuorvaneEffectRecoveryMode, 3> kAllEffectRecoveryModes = {
    QuorvaneEffectRecoveryMode::active, QuorvaneEffectRecoveryMode::suspended,
    QuorvaneEffectRecoveryMode::comparingStock};

std::string_view caseName(QuorvaneEffectRecoveryMode mode);
std::optional<QuorvaneEffectRecoveryMode> parseCaseName(std::string_view text,
                                                        QuorvaneEffectRecoveryMode*);

}  // namespace quorvane
