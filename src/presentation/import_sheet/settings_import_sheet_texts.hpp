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
#include "presentation/design/color_role.hpp"
#include "presentation/design/fit_arrangement.hpp"

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

// A notice under the display-mapping rows: its symbol, drawn before the
// text and never read out, the colour of both, and the text.
enum class ImportMappingNoticeKind { duplicateTarget, lookAlike, invalidTarget };
struct ImportMappingNotice {
    ImportMappingNoticeKind kind = ImportMappingNoticeKind::duplicateTarget;
    std::string_view symbol;
    ColorRole color = ColorRole::secondary;
    std::string text;

    bool operator==(const ImportMappingNotice&) const = default;
};
// The notices that hold for the sheet now, in the order shown: one display
// picked on two rows, look-alike monitors left out of the targets, a picked
// target that is not safely connected. A common-only import shows none.
std::vector<ImportMappingNotice> importMappingNotices(const SettingsImportSheetModel& model);

// The Korean label of each classification a change-plan entry carries.
std::string_view changePlanLabel(QuorvaneChangePlanControlPath path);
std::string_view changePlanLabel(QuorvaneChangePlanRisk risk);
std::string_view changePlanLabel(QuorvaneChangePlanSideEffectPolicy policy);

// A classification badge: its label and the symbol of its classification
// ("slider.horizontal.3" control path, "checkmark.shield" risk, "hand.tap"
// side-effect policy).
struct ChangePlanBadge {
    std::string_view label;
    std::string_view symbol;

    bool operator==(const ChangePlanBadge&) const = default;
};
// A plan card's three badges: control path, risk, side-effect policy.
std::vector<ChangePlanBadge> changePlanBadges(const QuorvaneChangePlanEntry& entry);
// A comparison row's two badges: control path and side-effect policy.
std::vector<ChangePlanBadge> comparisonBadges(const QuorvaneChangePlanEntry& entry);

// The arrow between a comparison row's two values: pointing right while the
// row is side by side, down (lowered to the values' text) when it stacks.
struct ComparisonArrow {
    std::string_view symbol;
    int topPadding = 0;

    bool operator==(const ComparisonArrow&) const = default;
};
ComparisonArrow comparisonArrow(FitArrangement arrangement);

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
