#include "models/settings/quorvane_settings_import_draft.hpp"

#include <utility>

#include "models/coding/uuid_text.hpp"

namespace quorvane {

QuorvaneSettingsImportDraft QuorvaneSettingsImportDraft::of(QuorvanePreferences preferences) {
    QuorvaneSettingsImportDraft draft;
    draft.id = newUuidText();
    // The map is already ordered by raw value.
    for (const auto& [identity, adjustment] : preferences.displayAdjustments) {
        draft.importedDisplayAdjustments.push_back({identity, adjustment});
    }
    draft.importedSelectedDisplayIdentityRawValue = preferences.lastSelectedDisplayIdentity;
    draft.preferences = std::move(preferences);
    return draft;
}

}  // namespace quorvane
