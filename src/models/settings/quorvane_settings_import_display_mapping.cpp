#include "models/settings/quorvane_settings_import_display_mapping.hpp"

#include <map>
#include <set>

#include "models/coding/unicode_text.hpp"
#include "models/display/display_identity_descriptor.hpp"

namespace quorvane {

std::vector<QuorvaneSettingsImportDisplayMapping>
QuorvaneSettingsImportDisplayMapping::defaultMappings(
    const QuorvaneSettingsImportDraft& draft, const std::vector<DisplaySnapshot>& visibleDisplays) {
    const std::set<std::string> safeTargets =
        DisplayIdentityDescriptorBuilder::safeImportTargetIdentityRawValues(visibleDisplays);
    std::map<std::string, std::string> aliasKeyByIdentity;
    for (const auto& descriptor :
         DisplayIdentityDescriptorBuilder::descriptors(visibleDisplays, {})) {
        if (descriptor.confidence == DisplayIdentityConfidence::ambiguous)
            continue;
        aliasKeyByIdentity[descriptor.rawIdentity] = descriptor.aliasKey;
    }

    const auto& aliases = draft.preferences.displayAliasesByKey;
    std::vector<QuorvaneSettingsImportDisplayMapping> mappings;
    for (const auto& imported : draft.importedDisplayAdjustments) {
        const std::string& identity = imported.identityRawValue;
        QuorvaneSettingsImportDisplayMapping mapping;
        mapping.importedDisplayIdentityRawValue = identity;
        const auto alias = aliases.find(identity);
        if (alias != aliases.end() && !trimWhitespaceAndNewlines(alias->second).empty()) {
            mapping.importedDisplayAliasKey = identity;
        }
        if (safeTargets.count(identity)) {
            mapping.targetDisplayIdentityRawValue = identity;
            const auto aliasKey = aliasKeyByIdentity.find(identity);
            if (aliasKey != aliasKeyByIdentity.end())
                mapping.targetDisplayAliasKey = aliasKey->second;
        }
        mappings.push_back(std::move(mapping));
    }
    return mappings;
}

}  // namespace quorvane
