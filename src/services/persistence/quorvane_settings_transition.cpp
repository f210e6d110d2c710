#include "services/persistence/quorvane_settings_transition.hpp"

#include <algorithm>
#include <map>
#include <optional>

#include "models/coding/unicode_text.hpp"

namespace quorvane {

namespace {

using Mapping = QuorvaneSettingsImportDisplayMapping;

// The mapping's target when it names one.
const std::string* presentTarget(const Mapping& mapping) {
    const auto& target = mapping.targetDisplayIdentityRawValue;
    return target && !target->empty() ? &*target : nullptr;
}

std::string labelOf(const std::string& identity) {
    return QuorvaneSettingsImportDisplayAdjustment::displayLabel(identity);
}

QuorvanePreferences normalizedImportedPreferences(QuorvanePreferences imported) {
    imported.schemaVersion = 1;
    const auto& groups = imported.customDisplayGroups;
    const auto& groupID = imported.brightnessSyncGroupID;
    const bool groupDefined =
        groupID && std::any_of(groups.begin(), groups.end(),
                               [&](const DisplayGroup& group) { return group.id == *groupID; });
    if (!groupDefined)
        imported.brightnessSyncGroupID.reset();
    return imported;
}

std::map<std::string, ColorAdjustment> mappedDisplayAdjustments(
    const std::vector<QuorvaneSettingsImportDisplayAdjustment>& imported,
    const std::vector<Mapping>& mappings) {
    std::map<std::string, std::string> targetByImported;
    for (const auto& mapping : mappings) {
        if (const auto* target = presentTarget(mapping)) {
            targetByImported[mapping.importedDisplayIdentityRawValue] = *target;
        }
    }
    std::map<std::string, ColorAdjustment> result;
    for (const auto& value : imported) {
        const auto target = targetByImported.find(value.identityRawValue);
        if (target != targetByImported.end())
            result[target->second] = value.adjustment;
    }
    return result;
}

std::map<std::string, std::string> mappedDisplayAliases(
    const std::map<std::string, std::string>& fileAliases, const std::vector<Mapping>& mappings) {
    std::map<std::string, std::string> destinationByImported;
    for (const auto& mapping : mappings) {
        const auto* target = presentTarget(mapping);
        if (!target)
            continue;
        destinationByImported[mapping.importedDisplayIdentityRawValue] =
            mapping.targetDisplayAliasKey.value_or(*target);
    }

    auto fileAlias = [&](const std::string& key) -> std::optional<std::string> {
        const auto found = fileAliases.find(key);
        if (found == fileAliases.end())
            return std::nullopt;
        return trimWhitespaceAndNewlines(found->second);
    };

    std::map<std::string, std::string> result;
    for (const auto& mapping : mappings) {
        if (!presentTarget(mapping))
            continue;
        const std::string& imported = mapping.importedDisplayIdentityRawValue;
        std::string sourceKey;
        if (mapping.importedDisplayAliasKey) {
            sourceKey = *mapping.importedDisplayAliasKey;
        } else {
            const auto own = fileAlias(imported);
            if (!own || own->empty())
                continue;
            sourceKey = imported;
        }
        const auto alias = fileAlias(sourceKey);
        if (alias && !alias->empty())
            result[destinationByImported[imported]] = *alias;
    }
    return result;
}

std::vector<SceneHotKeyBinding> sceneBindingsByDisablingEmergencyConflicts(
    std::vector<SceneHotKeyBinding> bindings, const HotKeyCombination& emergencyCombination) {
    for (auto& binding : bindings) {
        if (binding.enabled && binding.combination == emergencyCombination)
            binding.enabled = false;
    }
    return bindings;
}

}  // namespace

std::optional<std::string> QuorvaneSettingsTransition::mappedSelectionTarget(
    const QuorvaneSettingsImportDraft& draft, const std::vector<Mapping>& mappings) {
    const auto& selected = draft.importedSelectedDisplayIdentityRawValue;
    if (!selected)
        return std::nullopt;
    const auto mapping = std::find_if(mappings.begin(), mappings.end(), [&](const Mapping& m) {
        return m.importedDisplayIdentityRawValue == *selected;
    });
    if (mapping == mappings.end())
        return std::nullopt;
    const auto* target = presentTarget(*mapping);
    return target ? std::optional<std::string>(*target) : std::nullopt;
}

std::vector<std::string> QuorvaneSettingsTransition::duplicateImportTargetIdentityRawValues(
    const std::vector<Mapping>& mappings) {
    std::set<std::string> seen;
    std::set<std::string> duplicates;
    for (const auto& mapping : mappings) {
        const auto* target = presentTarget(mapping);
        if (target && !seen.insert(*target).second)
            duplicates.insert(*target);
    }
    return {duplicates.begin(), duplicates.end()};
}

void QuorvaneSettingsTransition::validateImportTargets(
    const std::vector<Mapping>& mappings,
    const std::set<std::string>& unsafeTargetIdentityRawValues) {
    const auto duplicates = duplicateImportTargetIdentityRawValues(mappings);
    if (!duplicates.empty()) {
        throw QuorvaneSettingsTransitionError(
            QuorvaneSettingsTransitionError::Kind::duplicateImportTarget,
            labelOf(duplicates.front()));
    }
    for (const auto& mapping : mappings) {
        const auto* target = presentTarget(mapping);
        if (target && unsafeTargetIdentityRawValues.count(*target)) {
            throw QuorvaneSettingsTransitionError(
                QuorvaneSettingsTransitionError::Kind::ambiguousImportTarget, labelOf(*target));
        }
    }
}

QuorvanePreferences QuorvaneSettingsTransition::importedPreferences(
    const QuorvanePreferences& current, const QuorvaneSettingsImportDraft& draft,
    QuorvaneSettingsImportMode mode, const std::vector<Mapping>& mappings,
    bool switchSelectionToMappedDisplay,
    const std::set<std::string>& unsafeTargetIdentityRawValues) {
    QuorvanePreferences result = normalizedImportedPreferences(draft.preferences);

    if (mode == QuorvaneSettingsImportMode::fullWithDisplayMapping) {
        validateImportTargets(mappings, unsafeTargetIdentityRawValues);
        result.displayAdjustments =
            mappedDisplayAdjustments(draft.importedDisplayAdjustments, mappings);
        result.displayAliasesByKey =
            mappedDisplayAliases(draft.preferences.displayAliasesByKey, mappings);
        const auto selection =
            switchSelectionToMappedDisplay ? mappedSelectionTarget(draft, mappings) : std::nullopt;
        result.lastSelectedDisplayIdentity =
            selection ? selection : current.lastSelectedDisplayIdentity;
    } else {
        result.displayAdjustments = current.displayAdjustments;
        result.displayAliasesByKey = current.displayAliasesByKey;
        result.lastSelectedDisplayIdentity = current.lastSelectedDisplayIdentity;
    }

    result.urlPresetAutomationEnabled = current.urlPresetAutomationEnabled;
    result.sceneHotKeysEnabled = current.sceneHotKeysEnabled;
    result.emergencyRecoveryHotKeyEnabled = current.emergencyRecoveryHotKeyEnabled;
    result.emergencyRecoveryHotKeyCombination = current.emergencyRecoveryHotKeyCombination;
    result.sceneHotKeyBindings = sceneBindingsByDisablingEmergencyConflicts(
        std::move(result.sceneHotKeyBindings), current.emergencyRecoveryHotKeyCombination);
    return result;
}

}  // namespace quorvane
