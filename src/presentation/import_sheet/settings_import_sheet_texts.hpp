#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "models/settings/quorvane_change_plan.hpp"
#include "models/settings/quorvane_change_plan_entry.hpp"
#include "models/settings/quorvane_local_hot_key_import_state.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"

namespace quorvane {

class SettingsImportSheetModel;

struct SettingsImportSummaryTile {
    std::string title;
    std::string value;

    bool operator==(const SettingsImportSummaryTile&) const = default;
};

// The ten tiles of what the file holds, in order; the file's own values.
std::vector<SettingsImportSummaryTile> settingsImportSummaryTiles(
    const QuorvanePreferences& imported, const QuorvaneLocalHotKeyImportState& local);

std::string_view importModeSegmentLabel(QuorvaneSettingsImportMode mode);
std::string_view importModeDescription(QuorvaneSettingsImportMode mode);

// The Korean label of each classification a change-plan entry carries.
std::string_view changePlanLabel(QuorvaneChangePlanControlPath path);
std::string_view changePlanLabel(QuorvaneChangePlanRisk risk);
std::string_view changePlanLabel(QuorvaneChangePlanSideEffectPolicy policy);

// The plan the sheet shows for its state now: the settings-import plan of
// the confirmed mappings, with the selection switch only in a full import.
QuorvaneChangePlan settingsImportChangePlan(const SettingsImportSheetModel& model);

// The before-and-after section: the first four entries and how many more
// the full plan holds.
struct BeforeAfterPreview {
    std::vector<QuorvaneChangePlanEntry> entries;
    int remainder = 0;
};
BeforeAfterPreview beforeAfterPreview(const QuorvaneChangePlan& plan);

}  // namespace quorvane
