#include <algorithm>

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/coding/uuid_text.hpp"
#include "models/display/display_control_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kSceneActionTitle = "작업 모드";
constexpr std::string_view kHardwareActionsNotApplied =
    " · 모니터 자체 동작은 자동 적용하지 않았습니다";
constexpr std::string_view kSavedOnlySuffix = " · 화면 색감 보정 꺼짐: 저장만 함";

}  // namespace

std::string DisplayStore::skippedAmbiguousSceneMessage(int count, const DisplayScene& scene,
                                                       std::string_view suffix) {
    std::string text = "동일하게 보이는 모니터 " + formatDecimal(count) +
                       "개는 작업 모드 자동 적용을 건너뜁니다" + std::string(suffix);
    if (!scene.hardwareActions.empty())
        text += kHardwareActionsNotApplied;
    return text;
}

void DisplayStore::applyScene(const DisplayScene& scene, DisplayID displayID) {
    ChangeScope scope(*this);
    const auto snapshot = displayReportingMissing(displayID);
    if (!snapshot)
        return;
    const auto adjustment = scene.adjustment(DisplayIdentity::of(*snapshot).rawValue);
    if (!adjustment) {
        setStatusMessage("이 디스플레이에 적용할 씬 색상값이 없습니다");
        appendRecoveryJournalEntry(makeJournalEntry(
            QuorvaneRecoveryJournalStatus::blocked, std::string(kSceneActionTitle), statusMessage_,
            "이 화면에 저장된 작업 모드 색상값이 없어 변경하지 않았습니다.",
            recoveryJournalTargets({*snapshot})));
        return;
    }
    applySceneAdjustments({{*snapshot, *adjustment}}, scene, 0);
}

void DisplayStore::applySceneToVisibleDisplays(const DisplayScene& scene) {
    ChangeScope scope(*this);
    const auto resolution = automaticSceneTargets(scene, displays_);
    if (!resolution.targets.empty()) {
        applySceneAdjustments(resolution.targets, scene, resolution.skippedAmbiguousCount);
        return;
    }
    if (resolution.skippedAmbiguousCount == 0) {
        setStatusMessage("연결된 디스플레이에 적용할 씬 색상값이 없습니다");
        appendRecoveryJournalEntry(makeJournalEntry(
            QuorvaneRecoveryJournalStatus::blocked, std::string(kSceneActionTitle), statusMessage_,
            "연결된 화면 중 이 작업 모드에 맞는 저장값을 찾지 못했습니다.", {}));
        return;
    }
    setStatusMessage(skippedAmbiguousSceneMessage(resolution.skippedAmbiguousCount, scene, ""));
    appendRecoveryJournalEntry(makeJournalEntry(
        QuorvaneRecoveryJournalStatus::skipped, std::string(kSceneActionTitle), statusMessage_,
        "구분이 불확실한 화면에는 작업 모드를 자동 적용하지 않았습니다.",
        recoveryJournalTargets(displays_)));
}

AutomaticSceneTargetResolution DisplayStore::automaticSceneTargets(
    const DisplayScene& scene, const std::vector<DisplaySnapshot>& candidates) const {
    std::map<DisplayID, DisplayIdentityConfidence> confidences;
    for (const auto& descriptor : identityDescriptors())
        confidences.emplace(descriptor.displayID, descriptor.confidence);
    AutomaticSceneTargetResolution resolution;
    for (const auto& candidate : candidates) {
        const auto adjustment = scene.adjustment(DisplayIdentity::of(candidate).rawValue);
        if (!adjustment)
            continue;
        if (auto confidence = confidences.find(candidate.id);
            confidence != confidences.end() &&
            confidence->second == DisplayIdentityConfidence::ambiguous) {
            ++resolution.skippedAmbiguousCount;
            continue;
        }
        resolution.targets.push_back({candidate, *adjustment});
    }
    return resolution;
}

void DisplayStore::applySceneAdjustments(const std::vector<SceneTarget>& targets,
                                         const DisplayScene& scene, int skippedAmbiguousCount) {
    int appliedCount = 0;
    std::vector<DisplaySnapshot> applied;
    std::vector<std::string> failedNames;
    for (const auto& target : targets) {
        const auto targetIdentity = DisplayIdentity::of(target.display);
        recordUndoAndActivate(targetIdentity);
        setSavedAdjustment(targetIdentity.rawValue, target.adjustment);
        if (applyColorAdjustment(target.adjustment, target.display.id, targetIdentity)) {
            ++appliedCount;
            applied.push_back(target.display);
        } else {
            failedNames.push_back(target.display.name);
        }
    }
    savePreferences();

    std::string text;
    if (failedNames.empty()) {
        text = std::string(softwareColorCorrectionEnabled_ ? "씬 적용됨" : "씬 저장됨") + ": " +
               scene.name + " (" + formatDecimal(appliedCount) + "개 디스플레이)";
    } else {
        text = "일부 씬 색상 적용 실패: " + joined(failedNames, ", ");
    }
    if (!scene.hardwareActions.empty())
        text += kHardwareActionsNotApplied;
    if (skippedAmbiguousCount >= 1)
        text += " · 구분 불확실 " + formatDecimal(skippedAmbiguousCount) + "개 건너뜀";
    if (!softwareColorCorrectionEnabled_)
        text += kSavedOnlySuffix;
    setStatusMessage(text);

    if (applied.empty())
        return;
    const auto status = !failedNames.empty() || skippedAmbiguousCount != 0
                            ? QuorvaneRecoveryJournalStatus::partial
                            : QuorvaneRecoveryJournalStatus::applied;
    publishRecentChangeRecoveryPrompt(applied, kSceneActionTitle, status, statusMessage_);
}

void DisplayStore::saveCustomScene(std::string_view name) {
    ChangeScope scope(*this);
    const auto trimmed = trimWhitespaceAndNewlines(name);
    if (trimmed.empty()) {
        setStatusMessage("씬 이름을 입력하세요");
        return;
    }
    if (displays_.empty()) {
        setStatusMessage(DisplayControlError::noActiveDisplays().description());
        return;
    }
    DisplayScene scene;
    scene.id = newUuidText();
    scene.name = trimmed;
    scene.kind = DisplayScene::Kind::custom;
    for (const auto& shown : displays_) {
        const auto shownIdentity = DisplayIdentity::of(shown);
        scene.softwareAdjustmentsByDisplayIdentity[shownIdentity.rawValue] =
            savedAdjustmentOrNeutral(shownIdentity);
    }
    customScenes_.push_back(std::move(scene));
    savePreferences();
    setStatusMessage("커스텀 씬 저장됨: " + trimmed);
}

void DisplayStore::deleteCustomScene(DisplayScene scene) {
    if (scene.kind == DisplayScene::Kind::builtIn)
        return;
    ChangeScope scope(*this);
    std::erase_if(customScenes_, [&](const DisplayScene& kept) { return kept.id == scene.id; });
    savePreferences();
    setStatusMessage("커스텀 씬 삭제됨: " + scene.name);
}

}  // namespace quorvane
