#include "presentation/import_sheet/settings_import_sheet_model.hpp"

#include <algorithm>

#include "models/coding/unicode_text.hpp"
#include "models/display/display_identity_descriptor.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "services/persistence/quorvane_settings_transition.hpp"

namespace quorvane {

SettingsImportSheetModel::SettingsImportSheetModel(QuorvaneSettingsImportDraft draft,
                                                   std::vector<DisplaySnapshot> visibleDisplays,
                                                   Aliases aliases,
                                                   QuorvaneLocalHotKeyImportState localHotKeyState)
    : draft_(std::move(draft)),
      visibleDisplays_(std::move(visibleDisplays)),
      aliases_(std::move(aliases)),
      localHotKeyState_(std::move(localHotKeyState)),
      targetByImportedIdentity_(initialImportTargets(draft_, visibleDisplays_)) {}

bool SettingsImportSheetModel::selectionSwitchEnabled() const {
    return mode_ == QuorvaneSettingsImportMode::fullWithDisplayMapping &&
           draft_.importedSelectedDisplayIdentityRawValue.has_value();
}

std::string SettingsImportSheetModel::target(const std::string& importedIdentity) const {
    const auto found = targetByImportedIdentity_.find(importedIdentity);
    return found == targetByImportedIdentity_.end() ? std::string(kSkipImportTarget)
                                                    : found->second;
}

void SettingsImportSheetModel::setTarget(const std::string& importedIdentity, std::string value) {
    targetByImportedIdentity_[importedIdentity] = std::move(value);
}

std::optional<std::string> SettingsImportSheetModel::pickedTarget(
    const std::string& importedIdentity) const {
    const auto found = targetByImportedIdentity_.find(importedIdentity);
    if (found == targetByImportedIdentity_.end() || found->second == kSkipImportTarget)
        return std::nullopt;
    return found->second;
}

std::vector<SettingsImportVisibleTarget> SettingsImportSheetModel::visibleImportTargets() const {
    std::vector<SettingsImportVisibleTarget> targets;
    for (const auto& descriptor :
         DisplayIdentityDescriptorBuilder::descriptors(visibleDisplays_, aliases_)) {
        if (descriptor.confidence == DisplayIdentityConfidence::ambiguous)
            continue;
        // The alias as the user typed it, when it says anything at all.
        std::string name = descriptor.displayName;
        const auto alias = aliases_.find(descriptor.aliasKey);
        if (descriptor.alias && alias != aliases_.end())
            name = alias->second;
        const bool reliable = descriptor.confidence == DisplayIdentityConfidence::reliable;
        targets.push_back({descriptor.rawIdentity, descriptor.rawIdentity, descriptor.aliasKey,
                           name + " · " + (reliable ? "확실" : "주의")});
    }
    return targets;
}

namespace {

std::optional<std::string> aliasKeyOf(const std::vector<SettingsImportVisibleTarget>& targets,
                                      const std::string& identity) {
    for (const auto& target : targets) {
        if (target.identityRawValue == identity)
            return target.aliasKey;
    }
    return std::nullopt;
}

}  // namespace

std::vector<QuorvaneSettingsImportDisplayMapping> SettingsImportSheetModel::confirmedMappings()
    const {
    const auto targets = visibleImportTargets();
    std::vector<QuorvaneSettingsImportDisplayMapping> mappings;
    const auto& importedAliases = draft_.preferences.displayAliasesByKey;
    for (const auto& adjustment : draft_.importedDisplayAdjustments) {
        QuorvaneSettingsImportDisplayMapping mapping;
        mapping.importedDisplayIdentityRawValue = adjustment.identityRawValue;
        mapping.targetDisplayIdentityRawValue = pickedTarget(adjustment.identityRawValue);
        // The file's alias is looked up under the raw identity itself.
        const auto alias = importedAliases.find(adjustment.identityRawValue);
        if (alias != importedAliases.end() && !trimWhitespaceAndNewlines(alias->second).empty())
            mapping.importedDisplayAliasKey = adjustment.identityRawValue;
        if (mapping.targetDisplayIdentityRawValue) {
            mapping.targetDisplayAliasKey =
                aliasKeyOf(targets, *mapping.targetDisplayIdentityRawValue);
        }
        mappings.push_back(std::move(mapping));
    }
    return mappings;
}

std::set<std::string> SettingsImportSheetModel::duplicateTargetIdentityRawValues() const {
    const auto duplicates =
        QuorvaneSettingsTransition::duplicateImportTargetIdentityRawValues(confirmedMappings());
    return {duplicates.begin(), duplicates.end()};
}

std::set<std::string> SettingsImportSheetModel::invalidSelectedTargetIdentityRawValues() const {
    const auto safe =
        DisplayIdentityDescriptorBuilder::safeImportTargetIdentityRawValues(visibleDisplays_);
    std::set<std::string> invalid;
    for (const auto& [imported, value] : targetByImportedIdentity_) {
        if (value != kSkipImportTarget && !safe.contains(value))
            invalid.insert(value);
    }
    return invalid;
}

bool SettingsImportSheetModel::isDuplicateRow(const std::string& importedIdentity) const {
    return mode_ == QuorvaneSettingsImportMode::fullWithDisplayMapping &&
           duplicateTargetIdentityRawValues().contains(target(importedIdentity));
}

int SettingsImportSheetModel::sharedIdentityCount() const {
    return static_cast<int>(
        DisplayIdentityDescriptorBuilder::sharedIdentityRawValues(visibleDisplays_).size());
}

int SettingsImportSheetModel::mappedDisplayCount() const {
    if (mode_ == QuorvaneSettingsImportMode::globalOnly)
        return 0;
    std::set<std::string> targets;
    for (const auto& [imported, value] : targetByImportedIdentity_) {
        if (value != kSkipImportTarget)
            targets.insert(value);
    }
    return static_cast<int>(targets.size());
}

bool SettingsImportSheetModel::canConfirm() const {
    if (mode_ == QuorvaneSettingsImportMode::globalOnly)
        return true;
    return duplicateTargetIdentityRawValues().empty() &&
           invalidSelectedTargetIdentityRawValues().empty();
}

SettingsImportSheetModel::Confirmation SettingsImportSheetModel::confirmation() const {
    const bool full = mode_ == QuorvaneSettingsImportMode::fullWithDisplayMapping;
    return {mode_, confirmedMappings(), full && switchSelection_};
}

}  // namespace quorvane
