#include "models/coding/unicode_text.hpp"
#include "models/coding/uuid_text.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

void DisplayStore::applyPreset(const DisplayPreset& preset, DisplayID displayID) {
    ChangeScope scope(*this);
    const auto snapshot = displayReportingMissing(displayID);
    if (!snapshot)
        return;
    const auto snapshotIdentity = DisplayIdentity::of(*snapshot);
    recordUndoAndActivate(snapshotIdentity);
    setSavedAdjustment(snapshotIdentity.rawValue, preset.adjustment);
    savePreferences();
    if (!applyColorAdjustment(preset.adjustment, displayID, snapshotIdentity))
        return;
    setStatusMessage(softwareColorCorrectionEnabled_
                         ? "프리셋 적용됨: " + preset.name
                         : "프리셋 저장됨: " + preset.name + " · 화면 색감 보정 꺼짐: 저장만 함");
    publishRecentChangeRecoveryPrompt({*snapshot}, "프리셋", QuorvaneRecoveryJournalStatus::applied,
                                      std::nullopt);
}

void DisplayStore::saveCustomPreset(std::string_view name, DisplayID displayID) {
    ChangeScope scope(*this);
    const auto trimmed = trimWhitespaceAndNewlines(name);
    if (trimmed.empty()) {
        setStatusMessage("프리셋 이름을 입력하세요");
        return;
    }
    DisplayPreset preset;
    preset.id = newUuidText();
    preset.name = trimmed;
    preset.adjustment = colorAdjustment(displayID);
    preset.kind = DisplayPreset::Kind::custom;
    customPresets_.push_back(std::move(preset));
    savePreferences();
    setStatusMessage("커스텀 프리셋 저장됨: " + trimmed);
}

void DisplayStore::deleteCustomPreset(DisplayPreset preset) {
    if (preset.kind == DisplayPreset::Kind::builtIn)
        return;
    ChangeScope scope(*this);
    std::erase_if(customPresets_, [&](const DisplayPreset& kept) { return kept.id == preset.id; });
    savePreferences();
    setStatusMessage("커스텀 프리셋 삭제됨: " + preset.name);
}

}  // namespace quorvane
