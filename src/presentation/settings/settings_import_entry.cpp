#include "presentation/settings/settings_import_entry.hpp"

#include "services/display_store/display_store.hpp"

namespace quorvane {

std::map<std::string, std::string> initialImportTargets(
    const QuorvaneSettingsImportDraft& draft, const std::vector<DisplaySnapshot>& visibleDisplays) {
    std::map<std::string, std::string> targets;
    for (const auto& mapping :
         QuorvaneSettingsImportDisplayMapping::defaultMappings(draft, visibleDisplays)) {
        targets[mapping.importedDisplayIdentityRawValue] =
            mapping.targetDisplayIdentityRawValue.value_or(std::string(kSkipImportTarget));
    }
    return targets;
}

QuorvaneLocalHotKeyImportState localHotKeyImportState(const DisplayStore& store) {
    return {store.sceneHotKeysEnabled(), store.emergencyRecoveryHotKeyEnabled(),
            store.emergencyRecoveryHotKeyCombination().displayLabel()};
}

void cancelSettingsImport(DisplayStore& store, SettingsWindowState& state) {
    state.settingsImportDraft.reset();
    store.setStatusMessage("설정 가져오기를 취소했습니다");
}

void dismissSettingsImport(SettingsWindowState& state) {
    state.settingsImportDraft.reset();
}

void confirmSettingsImport(DisplayStore& store, SettingsWindowState& state,
                           QuorvaneSettingsImportMode mode,
                           const std::vector<QuorvaneSettingsImportDisplayMapping>& mappings,
                           bool switchSelectionToMappedDisplay) {
    if (!state.settingsImportDraft)
        return;
    // The store's status names the outcome; the draft is dropped afterwards
    // whatever it says, as the sheet closes.
    const auto draft = std::move(*state.settingsImportDraft);
    store.confirmSettingsImport(draft, mode, mappings, switchSelectionToMappedDisplay);
    state.settingsImportDraft.reset();
}

}  // namespace quorvane
