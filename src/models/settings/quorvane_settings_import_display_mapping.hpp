#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"

namespace quorvane {

// Which display of this computer receives the values of one display of the
// imported file. A nil target skips it.
struct QuorvaneSettingsImportDisplayMapping {
    std::string importedDisplayIdentityRawValue;
    std::optional<std::string> targetDisplayIdentityRawValue;
    // Key of the file's alias for the imported display.
    std::optional<std::string> importedDisplayAliasKey;
    // Alias key of the target display here.
    std::optional<std::string> targetDisplayAliasKey;

    bool operator==(const QuorvaneSettingsImportDisplayMapping&) const = default;

    // One mapping per imported per-display value, in draft order. A file
    // display is only ever proposed for the same identity, and only when
    // exactly one visible display has it.
    static std::vector<QuorvaneSettingsImportDisplayMapping> defaultMappings(
        const QuorvaneSettingsImportDraft& draft,
        const std::vector<DisplaySnapshot>& visibleDisplays);
};

}  // namespace quorvane
