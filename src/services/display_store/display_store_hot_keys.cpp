#include <algorithm>
#include <set>

#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

std::optional<DisplayScene> sceneWithID(const std::vector<DisplayScene>& customScenes,
                                        std::string_view sceneID) {
    for (const auto& scene : DisplayScene::builtIns()) {
        if (scene.id == sceneID)
            return scene;
    }
    for (const auto& scene : customScenes) {
        if (scene.id == sceneID)
            return scene;
    }
    return std::nullopt;
}

}  // namespace

void DisplayStore::reconcileGlobalHotKeys(bool updateStatus) {
    std::set<std::string> knownSceneIDs;
    for (const auto& scene : DisplayScene::builtIns())
        knownSceneIDs.insert(scene.id);
    for (const auto& scene : customScenes_)
        knownSceneIDs.insert(scene.id);

    std::optional<HotKeyCombination> emergencyCombination;
    if (emergencyRecoveryHotKeyEnabled_)
        emergencyCombination = emergencyRecoveryHotKeyCombination_;

    std::vector<GlobalHotKeyBinding> sceneBindings;
    if (sceneHotKeysEnabled_) {
        for (const auto& binding : sceneHotKeyBindings_) {
            if (!knownSceneIDs.contains(binding.sceneID))
                continue;
            // The emergency key wins every conflict with a scene key.
            if (emergencyCombination && binding.combination == *emergencyCombination)
                continue;
            sceneBindings.push_back({binding.id, GlobalHotKeyCommand::scene(binding.sceneID),
                                     binding.enabled, binding.combination});
        }
    }
    std::vector<GlobalHotKeyBinding> emergencyBindings;
    if (emergencyCombination) {
        emergencyBindings.push_back({std::string(GlobalHotKeyBinding::kEmergencyRecoveryID),
                                     GlobalHotKeyCommand::emergencyRecovery(), true,
                                     *emergencyCombination});
    }
    auto allBindings = sceneBindings;
    allBindings.insert(allBindings.end(), emergencyBindings.begin(), emergencyBindings.end());

    const int storedSceneBindingCount = static_cast<int>(sceneHotKeyBindings_.size());
    if (allBindings.empty()) {
        globalHotKeyRegistrar_->unregisterAll();
        sceneHotKeyRegistrationSummary_ = {storedSceneBindingCount, 0, {}, false};
        emergencyRecoveryHotKeyRegistrationSummary_ = {1, 0, {}, false};
        if (updateStatus)
            setStatusMessage("전역 단축키 꺼짐");
        return;
    }
    const auto combined = globalHotKeyRegistrar_->reconcile(allBindings);
    const auto registered = globalHotKeyRegistrar_->registeredBindingIDs();
    sceneHotKeyRegistrationSummary_ = hotKeyRegistrationSummary(
        sceneBindings, combined, registered, storedSceneBindingCount, sceneHotKeysEnabled_);
    emergencyRecoveryHotKeyRegistrationSummary_ = hotKeyRegistrationSummary(
        emergencyBindings, combined, registered, 1, emergencyRecoveryHotKeyEnabled_);
    if (updateStatus)
        setStatusMessage(globalHotKeyStatusMessage(combined));
}

void DisplayStore::handleGlobalHotKey(const std::string& bindingID) {
    {
        ChangeScope scope(*this);
        if (bindingID != GlobalHotKeyBinding::kEmergencyRecoveryID)
            handleSceneHotKey(bindingID);
        // Read at the press: a press queued before the key was switched off
        // only reports.
        else if (emergencyRecoveryHotKeyEnabled_)
            recoverDisplaysToSafeState();
        else
            setStatusMessage("비상 복구 단축키가 꺼져 있습니다");
    }
    // Told once the change is published. An observer may remove itself or
    // others while being told.
    const auto observers = hotKeyPressObservers_;
    for (const auto& [id, observer] : observers)
        observer(bindingID);
}

SceneHotKeyBinding* DisplayStore::sceneHotKeyBindingReportingMissing(std::string_view bindingID) {
    const auto binding = std::find_if(
        sceneHotKeyBindings_.begin(), sceneHotKeyBindings_.end(),
        [&](const SceneHotKeyBinding& candidate) { return candidate.id == bindingID; });
    if (binding == sceneHotKeyBindings_.end()) {
        setStatusMessage("씬 단축키를 찾지 못했습니다");
        return nullptr;
    }
    return &*binding;
}

void DisplayStore::handleSceneHotKey(std::string_view bindingID) {
    ChangeScope scope(*this);
    if (!sceneHotKeysEnabled_) {
        setStatusMessage("씬 단축키가 꺼져 있습니다");
        return;
    }
    auto* binding = sceneHotKeyBindingReportingMissing(bindingID);
    if (!binding)
        return;
    if (!binding->enabled) {
        setStatusMessage("꺼진 씬 단축키입니다: " + binding->combination.displayLabel());
        return;
    }
    const auto scene = sceneWithID(customScenes_, binding->sceneID);
    if (!scene) {
        setStatusMessage("단축키 씬을 찾지 못했습니다: " + binding->combination.displayLabel());
        return;
    }
    applySceneToVisibleDisplays(*scene);
}

}  // namespace quorvane
