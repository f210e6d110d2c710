#include "models/recovery/quorvane_effect_recovery_mode.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneEffectRecoveryMode mode) {
    switch (mode) {
        case QuorvaneEffectRecoveryMode::active:
            return "active";
        case QuorvaneEffectRecoveryMode::suspended:
            return "suspended";
        case QuorvaneEffectRecoveryMode::comparingStock:
            return "comparingStock";
    }
    return {};
}

std::optional<QuorvaneEffectRecoveryMode> parseCaseName(std::string_view text,
                                                        QuorvaneEffectRecoveryMode*) {
    for (auto mode : kAllEffectRecoveryModes) {
        if (caseName(mode) == text)
            return mode;
    }
    return std::nullopt;
}

}  // namespace quorvane
