#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "models/settings/quorvane_preferences.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"
#include "models/settings/quorvane_settings_transition_error.hpp"

namespace quorvane {

// The import rule: which imported values are taken, which local values stay,
// and how per-display values and aliases move from the file's displays to
// this computer's. Pure computation; nothing is read or written.
struct QuorvaneSettingsTransition {
    // Targets chosen more than once (absent and empty targets ignored), each
    // once, ascending.
    static std::vector<std::string> duplicateImportTargetIdentityRawValues(
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings);

    // Throws duplicateImportTarget for the first duplicate, else
    // ambiguousImportTarget for the first target in the unsafe set.
    static void validateImportTargets(
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
        const std::set<std::string>& unsafeTargetIdentityRawValues);

    // The display here that the file's selected display maps to; absent when
    // the file selects none or its mapping names no target.
    static std::optional<std::string> mappedSelectionTarget(
        const QuorvaneSettingsImportDraft& draft,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings);

    // The preferences after the import. The local switches (URL preset
    // automation, scene hot keys on/off, the emergency key and its chord)
    // never come from the file; imported scene bindings that collide with the
    // local emergency chord are disabled. Throws QuorvaneSettingsTransitionError
    // only in full mode, for a refused choice of targets.
    static QuorvanePreferences importedPreferences(
        const QuorvanePreferences& current, const QuorvaneSettingsImportDraft& draft,
        QuorvaneSettingsImportMode mode,
        const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
        bool switchSelectionToMappedDisplay,
        const std::set<std::string>& unsafeTargetIdentityRawValues);
};

}  // namespace quorvane
