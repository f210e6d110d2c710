#pragma once

#include <array>
#include <optional>
#include <string>

#include "models/recovery/quorvane_destructive_confirmation_copy.hpp"

namespace quorvane {

// The actions that delete user data, overwrite what a display shows or reset
// the application; none runs without an explicit confirmation.
enum class QuorvaneDestructiveActionKind {
    deleteScene,
    deleteDisplayGroup,
    deletePreset,
    deleteStoredAdjustment,
    restoreOutputColorCorrection,
    restoreDefaultProfile,
    applyProfile,
    runEmergencyRecovery,
    resetAllSettings,
};

inline constexpr std::array<QuorvaneDestructiveActionKind, 9> kAllDestructiveActionKinds = {
    QuorvaneDestructiveActionKind::deleteScene,
    QuorvaneDestructiveActionKind::deleteDisplayGroup,
    QuorvaneDestructiveActionKind::deletePreset,
    QuorvaneDestructiveActionKind::deleteStoredAdjustment,
    QuorvaneDestructiveActionKind::restoreOutputColorCorrection,
    QuorvaneDestructiveActionKind::restoreDefaultProfile,
    QuorvaneDestructiveActionKind::applyProfile,
    QuorvaneDestructiveActionKind::runEmergencyRecovery,
    QuorvaneDestructiveActionKind::resetAllSettings,
};

// The dialog texts of `kind`. The name is trimmed; an absent or blank name
// reads "선택한 항목". Kinds that act on everything ignore the name.
QuorvaneDestructiveConfirmationCopy confirmationCopy(QuorvaneDestructiveActionKind kind,
                                                     const std::optional<std::string>& targetName);

}  // namespace quorvane
