#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/settings/quorvane_change_plan.hpp"
#include "models/settings/quorvane_change_plan_entry.hpp"
#include "models/settings/quorvane_local_hot_key_import_state.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"
#include "models/settings/quorvane_settings_import_summary.hpp"

namespace quorvane {

// Turns a settings import (draft, mode, display mappings, local hot-key
// state) into the reviewable entries and texts shown before anything is
// saved. Pure: reads nothing from the system and writes nothing.
struct QuorvaneChangePlanBuilder {
    static constexpr std::string_view kSettingsImportPlanID = "settings-import";
    static constexpr std::string_view kSettingsImportPlanTitle = "설정 가져오기 변경 계획";

    static std::string sceneHotKeyImportSummary(const QuorvaneSettingsImportSummary& summary,
                                                const QuorvaneLocalHotKeyImportState& local);
    static std::string emergencyHotKeyImportSummary(const QuorvaneSettingsImportSummary& summary,
                                                    const QuorvaneLocalHotKeyImportState& local);
    // The nine parts of the imported common settings, joined with " · ".
    static std::string importedSettingsSummary(const QuorvaneSettingsImportSummary& summary,
                                               const QuorvaneLocalHotKeyImportState& local);

    // The present, non-empty targets in mapping order.
    static std::vector<std::string> mappedTargets(
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings);

    static QuorvaneChangePlanEntry displayMappingSummaryEntry(
        const QuorvaneSettingsImportDraft& draft,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings);
    // One entry per imported per-display value, in draft order.
    static std::vector<QuorvaneChangePlanEntry> displayMappingEntries(
        const QuorvaneSettingsImportDraft& draft,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings);

    static std::optional<std::string> selectedMappedTarget(
        const QuorvaneSettingsImportDraft& draft,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
        bool switchSelectionToMappedDisplay);
    static QuorvaneChangePlanEntry selectionEntry(
        const QuorvaneSettingsImportDraft& draft,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
        bool switchSelectionToMappedDisplay);

    static std::string settingsImportSummary(
        const QuorvaneSettingsImportDraft& draft, QuorvaneSettingsImportMode mode,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings);
    static QuorvaneChangePlanEntry commonSettingsEntry(const QuorvaneSettingsImportDraft& draft,
                                                       QuorvaneSettingsImportMode mode,
                                                       const QuorvaneLocalHotKeyImportState& local);
    static QuorvaneChangePlanEntry globalOnlyDisplayEntry(const QuorvaneSettingsImportDraft& draft);
    // The selection entry of global-only mode, which keeps the selection.
    static QuorvaneChangePlanEntry globalOnlySelectionEntry();

    // The whole import plan in the order the preview shows it: global-only
    // gives common, per-display state kept, selection kept; full mode gives
    // common, mapping summary, one entry per display value, selection.
    static QuorvaneChangePlan settingsImportPlan(
        const QuorvaneSettingsImportDraft& draft, QuorvaneSettingsImportMode mode,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
        const QuorvaneLocalHotKeyImportState& local, bool switchSelectionToMappedDisplay);
};

}  // namespace quorvane
