#pragma once

#include <string>

#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

// The counts and switches of an imported preferences record, from which the
// import texts are written.
struct QuorvaneSettingsImportSummary {
    int displayAdjustmentCount = 0;
    int customPresetCount = 0;
    int customSceneCount = 0;
    int customDisplayGroupCount = 0;
    int sceneHotKeyCount = 0;  // the enabled scene bindings
    bool sceneHotKeysEnabled = false;
    int sceneHotKeyBindingCount = 0;
    int sceneHotKeyEnabledBindingCount = 0;
    bool autoApplyEnabled = false;
    bool urlPresetAutomationEnabled = false;
    bool softwareColorCorrectionEnabled = false;
    bool brightnessSyncEnabled = false;
    bool emergencyRecoveryHotKeyEnabled = false;
    std::string emergencyRecoveryHotKeyLabel;  // as shown to the user

    bool operator==(const QuorvaneSettingsImportSummary&) const = default;

    static QuorvaneSettingsImportSummary of(const QuorvanePreferences& preferences);
};

}  // namespace quorvane
