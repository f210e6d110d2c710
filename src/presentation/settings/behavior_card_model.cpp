#include "presentation/settings/behavior_card_model.hpp"

#include "services/display_store/display_store.hpp"

namespace quorvane {

SettingsToggleRow behaviorRow(const DisplayStore& store, BehaviorSetting setting) {
    switch (setting) {
        case BehaviorSetting::autoApply:
            return {"저장 색상값 자동 적용",
                    "앱 시작이나 새로고침 때 저장된 화면 색감만 다시 적용합니다. "
                    "해상도·입력·모니터 밝기는 건드리지 않습니다.",
                    store.autoApplyEnabled(), std::nullopt, std::nullopt};
        case BehaviorSetting::urlPresetAutomation: {
            const bool on = store.urlPresetAutomationEnabled();
            return {"URL 프리셋 자동화",
                    "기본은 꺼짐입니다. 켜면 외부 quorvane:// 링크가 저장된 화면 색감 프리셋만 "
                    "적용할 수 있습니다. 모니터 밝기·입력·해상도는 실행하지 않습니다.",
                    on, on ? "외부 링크 적용 허용" : "꺼짐 · 외부 링크는 차단",
                    on ? ColorRole::warning : ColorRole::mutedInk};
        }
        case BehaviorSetting::softwareColorCorrection:
            return {"화면 색감 보정",
                    "끄면 화면은 원래 색으로 보고, 슬라이더 값과 프리셋은 그대로 보관합니다.",
                    store.softwareColorCorrectionEnabled(), std::nullopt, std::nullopt};
        case BehaviorSetting::brightnessSync:
            return {"모니터 밝기 동기화",
                    "Quorvane에서 밝기를 직접 조절할 때만 확인된 다른 디스플레이도 함께 맞춥니다.",
                    store.brightnessSyncEnabled(), "앱 시작·가져오기 때는 실행 안 함",
                    ColorRole::warning};
    }
    return {};
}

ColorRole behaviorCardTint(const DisplayStore& store) {
    return store.autoApplyEnabled() ? ColorRole::green : ColorRole::accent;
}

void setBehavior(DisplayStore& store, BehaviorSetting setting, bool enabled) {
    switch (setting) {
        case BehaviorSetting::autoApply:
            store.setAutoApplyEnabled(enabled);
            return;
        case BehaviorSetting::urlPresetAutomation:
            store.setURLPresetAutomationEnabled(enabled);
            return;
        case BehaviorSetting::softwareColorCorrection:
            store.setSoftwareColorCorrectionEnabled(enabled);
            return;
        case BehaviorSetting::brightnessSync:
            store.setBrightnessSyncEnabled(enabled);
            return;
    }
}

}  // namespace quorvane
