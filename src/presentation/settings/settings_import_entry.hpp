#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "models/settings/quorvane_local_hot_key_import_state.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"
#include "presentation/settings/settings_window_state.hpp"

namespace quorvane {

class DisplayStore;

// The import sheet's picker value for "leave this imported display unlinked".
inline constexpr std::string_view kSkipImportTarget = "__quorvane_skip_import_target__";

// What the import preview sheet opens with, per imported display identity:
// the default mapping's target, or the skip value when it has none. A later
// mapping of the same imported identity replaces an earlier one.
std::map<std::string, std::string> initialImportTargets(
    const QuorvaneSettingsImportDraft& draft, const std::vector<DisplaySnapshot>& visibleDisplays);

// This computer's hot-key state the sheet compares the file against; all
// three fields are set.
QuorvaneLocalHotKeyImportState localHotKeyImportState(const DisplayStore& store);

// The sheet's "취소": the draft goes first, then the status says so.
void cancelSettingsImport(DisplayStore& store, SettingsWindowState& state);
// Escape or closing the sheet: only the draft goes; the status stays.
void dismissSettingsImport(SettingsWindowState& state);
// The sheet's confirmation: the store validates, installs and reports;
// then the draft goes. Nothing happens without a draft.
void confirmSettingsImport(DisplayStore& store, SettingsWindowState& state,
                           QuorvaneSettingsImportMode mode,
                           const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                           bool switchSelectionToMappedDisplay);

}  // namespace quorvane
