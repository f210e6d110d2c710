#include "presentation/settings/shortcuts_card_model.hpp"

#include "models/coding/number_format.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

std::string emergencyHotKeyRegistrationText(const GlobalHotKeyRegistrationSummary& summary,
                                            const HotKeyCombination& combination) {
    if (!summary.isEnabled)
        return "꺼짐";
    if (!summary.failures.empty())
        return "등록 실패 · " + combination.displayLabel();
    return combination.displayLabel() + " · 등록됨";
}

std::string sceneHotKeyRegistrationText(const GlobalHotKeyRegistrationSummary& summary) {
    if (!summary.isEnabled)
        return "꺼짐";
    const std::string registered = formatDecimal(summary.registeredCount) + "개 등록됨";
    if (summary.failures.empty())
        return registered;
    return registered + " · " + formatDecimal(static_cast<std::int64_t>(summary.failures.size())) +
           "개 실패";
}

ColorRole hotKeyStatusTint(const GlobalHotKeyRegistrationSummary& summary, bool switchOn) {
    if (!summary.failures.empty())
        return ColorRole::warning;
    return switchOn ? ColorRole::green : ColorRole::mutedInk;
}

ColorRole shortcutTint(const GlobalHotKeyRegistrationSummary& emergency,
                       const GlobalHotKeyRegistrationSummary& scenes) {
    if (!emergency.failures.empty() || !scenes.failures.empty())
        return ColorRole::warning;
    return ColorRole::accent;
}

std::string sceneName(std::string_view sceneID, const std::vector<DisplayScene>& customScenes) {
    for (const auto* scenes : {&DisplayScene::builtIns(), &customScenes}) {
        for (const auto& scene : *scenes) {
            if (scene.id == sceneID)
                return scene.name;
        }
    }
    return "알 수 없는 작업 모드";
}

ShortcutsCardModel ShortcutsCardModel::of(const DisplayStore& store) {
    const auto& emergencySummary = store.emergencyRecoveryHotKeyRegistrationSummary();
    const auto& sceneSummary = store.sceneHotKeyRegistrationSummary();
    ShortcutsCardModel model;
    model.cardTint = shortcutTint(emergencySummary, sceneSummary);
    model.emergency = {
        "비상 복구 단축키",
        "화면이 거의 안 보이거나 색이 이상할 때 모든 화면을 안전 밝기와 기본 색감으로 "
        "되돌립니다.",
        store.emergencyRecoveryHotKeyEnabled(),
        emergencyHotKeyRegistrationText(emergencySummary,
                                        store.emergencyRecoveryHotKeyCombination()),
        hotKeyStatusTint(emergencySummary, store.emergencyRecoveryHotKeyEnabled())};
    model.scenes = {"전역 작업 모드 단축키",
                    "다른 앱을 쓰는 중에도 작업 모드 단축키가 화면 색감만 바꿉니다. 모니터 "
                    "밝기·입력·해상도는 실행하지 않습니다.",
                    store.sceneHotKeysEnabled(), sceneHotKeyRegistrationText(sceneSummary),
                    hotKeyStatusTint(sceneSummary, store.sceneHotKeysEnabled())};
    model.showsBindingList = store.sceneHotKeysEnabled();
    if (!model.showsBindingList)
        return model;
    for (const auto& binding : store.sceneHotKeyBindings()) {
        model.bindings.push_back({binding.id, sceneName(binding.sceneID, store.customScenes()),
                                  binding.combination.displayLabel(), binding.enabled});
    }
    return model;
}

}  // namespace quorvane
