#pragma once

#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

// A full record unlike the defaults in every field.
inline QuorvanePreferences samplePreferences() {
    QuorvanePreferences record;
    record.schemaVersion = 7;
    record.autoApplyEnabled = false;
    record.urlPresetAutomationEnabled = true;
    record.softwareColorCorrectionEnabled = false;
    record.textSize = QuorvaneTextSize::veryLarge;
    record.appearance = QuorvaneAppearance::dark;
    ColorAdjustment warm;
    warm.warmth = 0.25;
    warm.outputFilter = QuorvaneOutputFilter::invert;
    record.displayAdjustments["vendor-1-model-2-serial-3-external"] = warm;
    record.displayAliasesByKey["vendor-1-model-2-serial-3-external"] = "왼쪽 모니터";
    record.lastSelectedDisplayIdentity = "vendor-1-model-2-serial-3-external";
    record.customPresets.push_back({"P-1", "Reading", warm, ItemKind::custom});
    DisplayScene scene;
    scene.id = "S-1";
    scene.name = "Evening";
    scene.fallbackAdjustment = warm;
    record.customScenes.push_back(scene);
    DisplayGroup group;
    group.id = "G-1";
    group.name = "Desk";
    group.displayIdentityRawValues = {"a", "b"};
    record.customDisplayGroups.push_back(group);
    record.brightnessSyncEnabled = true;
    record.brightnessSyncGroupID = "G-1";
    record.sceneHotKeysEnabled = true;
    record.sceneHotKeyBindings[1].enabled = false;
    record.sceneHotKeyBindings.push_back(
        {"own", "S-1", true, HotKeyCombination(7, "X", {HotKeyModifier::control})});
    record.emergencyRecoveryHotKeyEnabled = false;
    record.emergencyRecoveryHotKeyCombination =
        HotKeyCombination(15, "R", {HotKeyModifier::option, HotKeyModifier::shift});
    return record;
}

}  // namespace quorvane
