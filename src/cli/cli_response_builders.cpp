#include "cli/cli_response.hpp"
#include "models/coding/number_format.hpp"
#include "models/settings/quorvane_change_plan.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

CLIResponse::Settings CLIResponse::Settings::of(const QuorvanePreferences& preferences) {
    Settings settings;
    settings.schemaVersion = preferences.schemaVersion;
    settings.textSize = std::string(caseName(preferences.textSize));
    settings.appearance = std::string(caseName(preferences.appearance));
    settings.autoApplyEnabled = preferences.autoApplyEnabled;
    settings.softwareColorCorrectionEnabled = preferences.softwareColorCorrectionEnabled;
    settings.brightnessSyncEnabled = preferences.brightnessSyncEnabled;
    settings.brightnessSyncGroupID = preferences.brightnessSyncGroupID;
    settings.sceneHotKeysEnabled = preferences.sceneHotKeysEnabled;
    settings.sceneHotKeyBindingCount = static_cast<int>(preferences.sceneHotKeyBindings.size());
    settings.customPresetCount = static_cast<int>(preferences.customPresets.size());
    settings.customSceneCount = static_cast<int>(preferences.customScenes.size());
    settings.customDisplayGroupCount = static_cast<int>(preferences.customDisplayGroups.size());
    settings.savedAdjustmentCount = static_cast<int>(preferences.displayAdjustments.size());
    return settings;
}

namespace {

bool isPerDisplayEntry(const QuorvaneChangePlanEntry& entry) {
    return entry.id.starts_with("display-") && entry.id != "display-mapping-summary";
}

}  // namespace

CLIResponse::ChangePlan CLIResponse::ChangePlan::of(const QuorvaneChangePlan& plan) {
    ChangePlan out{plan.id, plan.title, plan.summary, static_cast<int>(plan.entries.size()), {}};
    int ordinal = 0;
    for (const auto& entry : plan.entries) {
        ChangePlanEntry converted{entry.id,
                                  entry.title,
                                  entry.targetLabel,
                                  entry.beforeValue,
                                  entry.afterValue,
                                  std::string(caseName(entry.controlPath)),
                                  std::string(caseName(entry.risk)),
                                  std::string(caseName(entry.sideEffectPolicy)),
                                  entry.recoveryNote,
                                  entry.sideEffectNote};
        const bool hasTarget = entry.targetIdentityRawValue.has_value();
        if (isPerDisplayEntry(entry)) {
            // The imported identity in the id and labels is replaced by the
            // entry's place among the display entries.
            const std::string n = formatDecimal(++ordinal);
            converted.id = "display-" + n;
            converted.targetLabel = hasTarget ? "현재 디스플레이 " + n : "건너뛰기";
            converted.beforeValue = "가져온 디스플레이 " + n;
            converted.afterValue = hasTarget ? "현재 디스플레이 " + n : "이 컴퓨터에 저장하지 않음";
        } else if (entry.id == "selected-display" && hasTarget) {
            converted.targetLabel = "매핑된 현재 디스플레이";
            converted.afterValue = "매핑된 현재 디스플레이";
        }
        out.entries.push_back(std::move(converted));
    }
    return out;
}

}  // namespace quorvane
