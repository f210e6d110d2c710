#include <algorithm>

#include "models/coding/text_joining.hpp"
#include "models/coding/unicode_text.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/record_merge.hpp"

namespace quorvane {

namespace {

namespace Part = RecordMerge::PreferencesPart;

}  // namespace

void DisplayStore::setAutoApplyEnabled(bool enabled) {
    ChangeScope scope(*this);
    autoApplyEnabled_ = enabled;
    touchPreference(Part::autoApplyEnabled);
    savePreferences();
    setStatusMessage(enabled ? "자동 색상 적용 켜짐" : "자동 색상 적용 꺼짐");
}

void DisplayStore::setURLPresetAutomationEnabled(bool enabled) {
    ChangeScope scope(*this);
    urlPresetAutomationEnabled_ = enabled;
    touchPreference(Part::urlPresetAutomationEnabled);
    savePreferences();
    setStatusMessage(enabled
                         ? "URL 프리셋 자동화 켜짐 — 외부 링크가 저장 색상값을 적용할 수 있습니다"
                         : "URL 프리셋 자동화 꺼짐");
}

void DisplayStore::setBrightnessSyncEnabled(bool enabled) {
    ChangeScope scope(*this);
    brightnessSyncEnabled_ = enabled;
    touchPreference(Part::brightnessSyncEnabled);
    savePreferences();
    setStatusMessage(enabled ? "모니터 밝기 동기화 켜짐" : "모니터 밝기 동기화 꺼짐");
}

void DisplayStore::setTextSize(QuorvaneTextSize size) {
    ChangeScope scope(*this);
    textSize_ = size;
    touchPreference(Part::textSize);
    savePreferences();
    setStatusMessage("글자 크기: " + std::string(displayName(size)));
}

void DisplayStore::setAppearance(QuorvaneAppearance appearance) {
    ChangeScope scope(*this);
    appearance_ = appearance;
    touchPreference(Part::appearance);
    savePreferences();
    setStatusMessage("화면 모드: " + std::string(displayName(appearance)));
}

void DisplayStore::setSoftwareColorCorrectionEnabled(bool enabled) {
    ChangeScope scope(*this);
    if (enabled == softwareColorCorrectionEnabled_) {
        setStatusMessage(enabled ? "화면 색감 보정이 이미 켜져 있습니다"
                                 : "화면 색감 보정이 이미 꺼져 있습니다 — 저장값은 유지됩니다");
        return;
    }
    softwareColorCorrectionEnabled_ = enabled;
    touchPreference(Part::softwareColorCorrectionEnabled);
    savePreferences();
    // Every signature check from here on writes again.
    autoApplyTracker_.appliedSignatures.clear();

    if (!enabled) {
        cancelAllTemporaryNeutralComparisons();
        const auto result = applyNeutralColorOutputForDisabledCorrection();
        if (result.failures.empty()) {
            setStatusMessage("화면 색감 보정 꺼짐 — 저장값은 유지됩니다");
        } else if (result.neutralizedCount == 0) {
            setStatusMessage("화면 색감 보정을 끄지 못했습니다: " + joined(result.failures, ", "));
        } else {
            setStatusMessage("화면 색감 보정 일부만 꺼짐: " + joined(result.failures, ", "));
        }
        return;
    }

    const auto statusBefore = statusMessage_;
    applySavedAdjustmentsIfNeeded(RefreshIntent::explicitUserRefresh);
    if (statusMessage_ != statusBefore)
        return;
    setStatusMessage(colorAdjustments_.empty() ? "화면 색감 보정 켜짐 — 저장된 색감 값이 없습니다"
                                               : "화면 색감 보정 켜짐 — 저장된 값이 다시 보입니다");
}

void DisplayStore::setBrightnessSyncGroupID(const std::optional<std::string>& groupID) {
    ChangeScope scope(*this);
    const auto trimmed = groupID ? trimWhitespaceAndNewlines(*groupID) : std::string();
    if (trimmed.empty()) {
        brightnessSyncGroupID_.reset();
        touchPreference(Part::brightnessSyncGroupID);
        preferences_.brightnessSyncGroupID.reset();
        savePreferences();
        setStatusMessage("밝기 동기화 범위: 모든 디스플레이");
        return;
    }
    const bool known = std::any_of(customDisplayGroups_.begin(), customDisplayGroups_.end(),
                                   [&](const DisplayGroup& group) { return group.id == trimmed; });
    if (!known) {
        setStatusMessage("밝기 동기화 그룹을 찾지 못했습니다");
        return;
    }
    brightnessSyncGroupID_ = trimmed;
    touchPreference(Part::brightnessSyncGroupID);
    savePreferences();
    setStatusMessage("밝기 동기화 범위: 선택한 그룹");
}

void DisplayStore::setEmergencyRecoveryHotKeyEnabled(bool enabled) {
    ChangeScope scope(*this);
    emergencyRecoveryHotKeyEnabled_ = enabled;
    touchPreference(Part::emergencyRecoveryHotKeyEnabled);
    reconcileGlobalHotKeys(true);
    savePreferences();
}

void DisplayStore::setSceneHotKeysEnabled(bool enabled) {
    ChangeScope scope(*this);
    sceneHotKeysEnabled_ = enabled;
    touchPreference(Part::sceneHotKeysEnabled);
    reconcileGlobalHotKeys(true);
    savePreferences();
}

void DisplayStore::setSceneHotKeyBindingEnabled(std::string_view bindingID, bool enabled) {
    ChangeScope scope(*this);
    auto* binding = sceneHotKeyBindingReportingMissing(bindingID);
    if (!binding)
        return;
    binding->enabled = enabled;
    touchPreference(Part::sceneHotKeyBindings, binding->id);
    reconcileGlobalHotKeys(true);
    savePreferences();
}

}  // namespace quorvane
