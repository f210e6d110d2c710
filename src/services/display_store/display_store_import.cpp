#include <algorithm>

#include "models/coding/number_format.hpp"
#include "models/coding/unicode_text.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_settings_transition.hpp"

namespace quorvane {

namespace {

using Mapping = QuorvaneSettingsImportDisplayMapping;

}  // namespace

void DisplayStore::forgetEffectRecoveryState() {
    temporaryNeutralComparisonTokens_.clear();
    temporaryNeutralComparisonSessions_.clear();
    effectRecoveryState_ = {};
    clearRecentChangeRecoveryPrompt(std::nullopt);
    syncRecoverySnapshotsForVisibleDisplays();
}

void DisplayStore::resetAllSettings() {
    ChangeScope scope(*this);
    // A comparison still showing the uncorrected screen would leave the
    // user's colour behind; its failed restore has set the status already.
    if (!cancelAllTemporaryNeutralComparisons())
        return;
    forgetEffectRecoveryState();
    preferences_ = QuorvanePreferences{};
    publishSettingsFromPreferences();
    suppressSelectionPersistence_ = true;
    setSelectedDisplayID(std::nullopt);
    suppressSelectionPersistence_ = false;
    autoApplyTracker_.appliedSignatures.clear();
    gammaController_->restoreSystemColorSettings();
    reconcileGlobalHotKeys(false);
    // Resetting on purpose may write over a record that could not be read,
    // and sets every part, whatever another process saved before.
    preferencesUnreadable_ = false;
    preferencesChangesHeld_ = false;
    preferencesTouched_ = TouchedRecordParts::all(requestAskedAt());
    savePreferences();
    setStatusMessage("모든 Quorvane 설정을 초기화했습니다");
}

bool DisplayStore::replacePreferencesWithoutApplying(const QuorvanePreferences& preferences) {
    if (!cancelAllTemporaryNeutralComparisons())
        return false;
    forgetEffectRecoveryState();
    preferences_ = preferences;
    publishSettingsFromPreferences();
    // Nothing recorded, so the next output step applies every saved value
    // the rules allow.
    autoApplyTracker_.appliedSignatures.clear();
    restoreSelectionAfterDisplayRefresh();
    reconcileGlobalHotKeys(false);
    // The imported record replaces the whole one.
    preferencesTouched_ = TouchedRecordParts::all(requestAskedAt());
    savePreferences();
    return true;
}

std::vector<Mapping> DisplayStore::settingsImportMappingsWithAliasKeys(
    const std::vector<Mapping>& mappings, const QuorvaneSettingsImportDraft& draft) const {
    std::map<std::string, std::string> aliasKeyByIdentity;
    for (const auto& descriptor : identityDescriptors()) {
        if (descriptor.confidence != DisplayIdentityConfidence::ambiguous)
            aliasKeyByIdentity[descriptor.rawIdentity] = descriptor.aliasKey;
    }
    const auto& fileAliases = draft.preferences.displayAliasesByKey;
    std::vector<Mapping> filled;
    filled.reserve(mappings.size());
    for (auto mapping : mappings) {
        if (!mapping.importedDisplayAliasKey) {
            const auto alias = fileAliases.find(mapping.importedDisplayIdentityRawValue);
            if (alias != fileAliases.end() && !trimWhitespaceAndNewlines(alias->second).empty())
                mapping.importedDisplayAliasKey = mapping.importedDisplayIdentityRawValue;
        }
        if (!mapping.targetDisplayAliasKey && mapping.targetDisplayIdentityRawValue) {
            const auto key = aliasKeyByIdentity.find(*mapping.targetDisplayIdentityRawValue);
            if (key != aliasKeyByIdentity.end())
                mapping.targetDisplayAliasKey = key->second;
        }
        filled.push_back(std::move(mapping));
    }
    return filled;
}

void DisplayStore::confirmSettingsImport(const QuorvaneSettingsImportDraft& draft,
                                         QuorvaneSettingsImportMode mode,
                                         const std::vector<Mapping>& mappings,
                                         bool switchSelectionToMappedDisplay) {
    ChangeScope scope(*this);
    const bool full = mode == QuorvaneSettingsImportMode::fullWithDisplayMapping;
    const auto filled = full ? settingsImportMappingsWithAliasKeys(mappings, draft) : mappings;
    QuorvanePreferences imported;
    try {
        imported = QuorvaneSettingsTransition::importedPreferences(
            preferences_, draft, mode, filled, switchSelectionToMappedDisplay,
            DisplayIdentityDescriptorBuilder::sharedIdentityRawValues(displays_));
    } catch (const QuorvaneSettingsTransitionError& error) {
        setStatusMessage(error.description());
        return;
    }
    if (!replacePreferencesWithoutApplying(imported))
        return;

    // The restore above keeps a selection that is still connected, which
    // would make the switch do nothing while any display is selected.
    const auto target = full && switchSelectionToMappedDisplay
                            ? QuorvaneSettingsTransition::mappedSelectionTarget(draft, filled)
                            : std::nullopt;
    if (target) {
        const auto shown =
            std::find_if(displays_.begin(), displays_.end(), [&](const DisplaySnapshot& candidate) {
                return DisplayIdentity::of(candidate).rawValue == *target;
            });
        if (shown != displays_.end())
            setSelectedDisplayID(shown->id);
    }

    if (!full) {
        setStatusMessage("공통 설정 가져오기 완료 — 현재 디스플레이 색상값은 그대로 유지했습니다");
        return;
    }
    setStatusMessage("설정 가져오기 완료 — " +
                     formatDecimal(static_cast<std::uint64_t>(colorAdjustments_.size())) +
                     "개 디스플레이 색상값을 연결했습니다. 자동 적용은 다음 명시적 새로고침 때 "
                     "실행됩니다");
}

}  // namespace quorvane
