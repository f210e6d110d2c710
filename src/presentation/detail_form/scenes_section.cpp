#include "presentation/detail_form/scenes_section.hpp"

#include "models/coding/number_format.hpp"
#include "presentation/detail_form/new_entry_name.hpp"

namespace quorvane {

std::string ScenesSection::subtitle(const DisplayStore& store, const DisplayScene& scene,
                                    DisplayID displayID) {
    std::string text = scene.kind == ItemKind::builtIn ? "기본 작업 모드" : "사용자 작업 모드";
    text += " · ";
    if (scene.fallbackAdjustment)
        text += "기본 색상값 포함";
    else
        text += formatDecimal(scene.softwareAdjustmentsByDisplayIdentity.size()) +
                "개 디스플레이 저장값";
    text += " · ";
    text +=
        scene.hardwareActions.empty() ? "화면 색감만" : "모니터 자체 동작 보관 · 자동 실행 안 함";
    if (const auto warning = store.sceneIdentityWarning(scene, displayID))
        text += " · " + *warning;
    return text;
}

ScenesSection ScenesSection::make(const DisplayStore& store, DisplayID displayID) {
    ScenesSection section;
    auto addRow = [&](const DisplayScene& scene) {
        section.rows.push_back(
            {scene, subtitle(store, scene, displayID),
             scene.hardwareActions.empty()
                 ? "화면 색감 값만 적용하는 안전한 작업 모드입니다."
                 : "이 작업 모드에는 모니터 자체 동작 정보가 있지만, Quorvane은 안전을 위해 "
                   "자동 실행하지 않습니다.",
             scene.kind == ItemKind::custom});
    };
    for (const auto& scene : DisplayScene::builtIns())
        addRow(scene);
    for (const auto& scene : store.customScenes())
        addRow(scene);
    for (const auto& group : store.customDisplayGroups())
        section.groups.push_back({group.id, group.name});
    return section;
}

void ScenesSection::applyHere(DisplayStore& store, const DisplayScene& scene, DisplayID displayID) {
    store.applyScene(scene, displayID);
}

void ScenesSection::applyEverywhere(DisplayStore& store, const DisplayScene& scene) {
    store.applySceneToVisibleDisplays(scene);
}

void ScenesSection::applyToGroup(DisplayStore& store, const DisplayScene& scene,
                                 const std::string& groupID) {
    for (const auto& group : store.customDisplayGroups()) {
        if (group.id == groupID) {
            // A copy: applying may republish the list the group lives in.
            const DisplayGroup chosen = group;
            store.applyScene(scene, chosen);
            return;
        }
    }
}

void ScenesSection::requestDelete(DisplayStore& store,
                                  QuorvaneDestructiveConfirmationCoordinator& confirmations,
                                  const DisplayScene& scene) {
    if (scene.kind != ItemKind::custom)
        return;
    confirmations.request(QuorvaneDestructiveActionKind::deleteScene, scene.name,
                          QuorvaneDestructiveConfirmationStyle::destructive,
                          [&store, scene] { store.deleteCustomScene(scene); });
}

void ScenesSection::save(DisplayStore& store, std::string& newSceneName) {
    NewEntryName::save(newSceneName,
                       [&store](const std::string& name) { store.saveCustomScene(name); });
}

}  // namespace quorvane
