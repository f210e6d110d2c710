#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kGroupSceneActionTitle = "그룹 작업 모드";

}  // namespace

void DisplayStore::applyScene(const DisplayScene& scene, const DisplayGroup& group) {
    ChangeScope scope(*this);
    const auto members = group.visibleMembers(displays_);
    if (members.empty()) {
        setStatusMessage("그룹에 연결된 디스플레이가 없습니다: " + group.name);
        appendRecoveryJournalEntry(makeJournalEntry(
            QuorvaneRecoveryJournalStatus::blocked, std::string(kGroupSceneActionTitle),
            statusMessage_, "그룹에 현재 연결된 화면이 없어 변경하지 않았습니다.", {}));
        return;
    }
    const auto resolution = automaticSceneTargets(scene, members);
    if (!resolution.targets.empty()) {
        applySceneAdjustments(resolution.targets, scene, resolution.skippedAmbiguousCount);
        return;
    }
    if (resolution.skippedAmbiguousCount == 0) {
        setStatusMessage("이 그룹에 적용할 씬 색상값이 없습니다: " + group.name);
        appendRecoveryJournalEntry(makeJournalEntry(
            QuorvaneRecoveryJournalStatus::blocked, std::string(kGroupSceneActionTitle),
            statusMessage_, "그룹 화면 중 이 작업 모드에 맞는 저장값을 찾지 못했습니다.",
            recoveryJournalTargets(members)));
        return;
    }
    setStatusMessage(
        skippedAmbiguousSceneMessage(resolution.skippedAmbiguousCount, scene, ": " + group.name));
    appendRecoveryJournalEntry(makeJournalEntry(
        QuorvaneRecoveryJournalStatus::skipped, std::string(kGroupSceneActionTitle), statusMessage_,
        "그룹 안의 구분이 불확실한 화면에는 작업 모드를 자동 적용하지 않았습니다.",
        recoveryJournalTargets(members)));
}

void DisplayStore::updateColorAdjustment(DisplayID displayID,
                                         const QuorvaneLevelsAdjustment::QuickOption& option) {
    updateColorAdjustment(displayID,
                          [&option](ColorAdjustment& value) { value = option.applied(value); });
}

void DisplayStore::updateColorAdjustment(DisplayID displayID, double ColorAdjustment::*field,
                                         double value) {
    updateColorAdjustment(
        displayID, [field, value](ColorAdjustment& adjustment) { adjustment.*field = value; });
}

}  // namespace quorvane
