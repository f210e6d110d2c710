#include "models/settings/quorvane_settings_import_summary.hpp"

#include <algorithm>

namespace quorvane {

namespace {

template <class Collection>
int countOf(const Collection& collection) {
    return static_cast<int>(collection.size());
}

}  // namespace

QuorvaneSettingsImportSummary QuorvaneSettingsImportSummary::of(
    const QuorvanePreferences& preferences) {
    const auto& bindings = preferences.sceneHotKeyBindings;
    const int enabledBindings = static_cast<int>(std::count_if(
        bindings.begin(), bindings.end(), [](const SceneHotKeyBinding& b) { return b.enabled; }));

    QuorvaneSettingsImportSummary summary;
    summary.displayAdjustmentCount = countOf(preferences.displayAdjustments);
    summary.customPresetCount = countOf(preferences.customPresets);
    summary.customSceneCount = countOf(preferences.customScenes);
    summary.customDisplayGroupCount = countOf(preferences.customDisplayGroups);
    summary.sceneHotKeyCount = enabledBindings;
    summary.sceneHotKeysEnabled = preferences.sceneHotKeysEnabled;
    summary.sceneHotKeyBindingCount = countOf(bindings);
    summary.sceneHotKeyEnabledBindingCount = enabledBindings;
    summary.autoApplyEnabled = preferences.autoApplyEnabled;
    summary.urlPresetAutomationEnabled = preferences.urlPresetAutomationEnabled;
    summary.softwareColorCorrectionEnabled = preferences.softwareColorCorrectionEnabled;
    summary.brightnessSyncEnabled = preferences.brightnessSyncEnabled;
    summary.emergencyRecoveryHotKeyEnabled = preferences.emergencyRecoveryHotKeyEnabled;
    summary.emergencyRecoveryHotKeyLabel =
        preferences.emergencyRecoveryHotKeyCombination.displayLabel();
    return summary;
}

}  // namespace quorvane
