#pragma once

#include <string>

#include "models/recovery/quorvane_effect_recovery_mode.hpp"

namespace quorvane {

// The recovery state of one display as the windows read it.
struct QuorvaneEffectRecoverySnapshot {
    std::string displayIdentityRawValue;
    QuorvaneEffectRecoveryMode mode = QuorvaneEffectRecoveryMode::active;
    bool canUndo = false;

    bool operator==(const QuorvaneEffectRecoverySnapshot&) const = default;
};

}  // namespace quorvane
