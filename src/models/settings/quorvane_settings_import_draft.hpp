#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/settings/quorvane_preferences.hpp"
#include "models/settings/quorvane_settings_import_display_adjustment.hpp"

namespace quorvane {

// An imported settings file waiting for the user's review; nothing of it is
// applied until the import is confirmed.
struct QuorvaneSettingsImportDraft {
    std::string id;  // new UUID text per draft
    QuorvanePreferences preferences;
    // One per per-display value of the file, by identity raw value ascending.
    std::vector<QuorvaneSettingsImportDisplayAdjustment> importedDisplayAdjustments;
    std::optional<std::string> importedSelectedDisplayIdentityRawValue;

    bool operator==(const QuorvaneSettingsImportDraft&) const = default;

    // Wraps decoded preferences with a new id.
    static QuorvaneSettingsImportDraft of(QuorvanePreferences preferences);
};

}  // namespace quorvane
