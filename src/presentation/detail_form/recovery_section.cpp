#include "presentation/detail_form/recovery_section.hpp"

namespace quorvane {

namespace {

using Mode = QuorvaneEffectRecoveryMode;

RecoverySection::StatePanel statePanel(Mode mode) {
    switch (mode) {
        case Mode::active:
            return {"저장된 효과 적용 가능", "checkmark.circle", ColorRole::systemGreen,
                    "저장된 Quorvane 색상값을 사용할 수 있는 상태입니다."};
        case Mode::suspended:
            return {"잠시 꺼짐", "pause.circle", ColorRole::systemOrange,
                    "저장값은 유지하고 이 디스플레이의 앱 색상 효과만 잠시 꺼둔 상태입니다."};
        case Mode::comparingStock:
            return {"기본 색상과 비교 중", "eye", ColorRole::systemBlue,
                    "저장값을 지우지 않고 앱 효과를 잠시 끈 화면과 비교 중입니다."};
    }
    return {};
}

RecoveryCard card(std::string title, std::string detail, std::string systemImage,
                  QuorvaneChipProminence prominence, RecoveryAction action) {
    RecoveryCard made;
    made.title = std::move(title);
    made.detail = std::move(detail);
    made.systemImage = std::move(systemImage);
    made.prominence = prominence;
    made.help = made.detail;
    made.action = action;
    return made;
}

std::vector<RecoveryCard> perDisplayCards(const QuorvaneEffectRecoverySnapshot& snapshot,
                                          bool correctionEnabled) {
    std::vector<RecoveryCard> cards;
    if (snapshot.mode == Mode::suspended)
        cards.push_back(card(
            "저장된 효과 다시 켜기", "잠시 꺼둔 화면 색감/RGB 보정을 이 화면에 다시 적용합니다.",
            "play.circle", QuorvaneChipProminence::accent, RecoveryAction::resumeEffect));
    else
        cards.push_back(card("이 화면 효과 잠시 끄기",
                             "저장값은 지우지 않고 이 화면의 Quorvane 색감/RGB 보정만 잠시 꺼서 "
                             "비교합니다.",
                             "pause.circle", QuorvaneChipProminence::neutral,
                             RecoveryAction::suspendEffect));
    if (snapshot.mode == Mode::comparingStock) {
        cards.push_back(
            card("비교 종료", "시스템 기본 색상 비교를 끝내고 현재 Quorvane 색감으로 돌아갑니다.",
                 "eye.slash", QuorvaneChipProminence::accent, RecoveryAction::exitComparison));
    } else {
        const bool suspended = snapshot.mode == Mode::suspended;
        auto compare = card("시스템 기본 색상과 비교",
                            "저장값을 지우지 않고 누르기 전 상태와 기본 색상을 비교합니다.", "eye",
                            QuorvaneChipProminence::neutral, RecoveryAction::enterComparison);
        compare.disabled = suspended || !correctionEnabled;
        compare.help = RecoverySection::stockComparisonHelp(correctionEnabled, suspended);
        cards.push_back(compare);
    }
    auto undo =
        card("마지막 색감 되돌리기",
             snapshot.canUndo ? "이 디스플레이에서 방금 바꾼 마지막 화면 색감만 되돌립니다."
                              : "아직 되돌릴 Quorvane 색상 변경이 없습니다.",
             "arrow.uturn.backward",
             snapshot.canUndo ? QuorvaneChipProminence::warning : QuorvaneChipProminence::neutral,
             RecoveryAction::undoLastChange);
    undo.disabled = !snapshot.canUndo;
    cards.push_back(undo);
    return cards;
}

}  // namespace

std::string RecoverySection::stockComparisonHelp(bool correctionEnabled, bool isSuspended) {
    if (!correctionEnabled)
        return "화면 색감 보정이 꺼져 있어 이미 앱 보정 없이 보고 있습니다.";
    if (isSuspended)
        return "이미 Quorvane 효과가 꺼져 있습니다. 비교하려면 먼저 저장된 효과를 다시 켜세요.";
    return "저장값을 지우지 않고 앱 효과를 잠시 끈 화면과 비교합니다.";
}

RecoverySection RecoverySection::make(const DisplayStore& store, DisplayID displayID) {
    RecoverySection section;
    // One read, so the state panel and the three cards agree on one mode.
    if (const auto snapshot = store.recoverySnapshot(displayID)) {
        section.state = statePanel(snapshot->mode);
        section.displayCards = perDisplayCards(*snapshot, store.softwareColorCorrectionEnabled());
    }
    section.emergency = card("안전 복구 실행",
                             "화면이 거의 안 보이거나 색이 심하게 틀어졌을 때 씁니다. 모든 연결된 "
                             "화면을 안전 밝기 50%와 기본 화면 색감으로 되돌립니다.",
                             "lifepreserver", QuorvaneChipProminence::destructive,
                             RecoveryAction::emergencyRecovery);
    section.emergency.help =
        "모든 연결된 화면을 안전 밝기 50%와 기본 화면 색감으로 되돌립니다. 단축키: " +
        store.emergencyRecoveryHotKeyCombination().displayLabel();
    auto remove =
        card("저장 색상값 삭제",
             "해상도와 모니터 밝기는 변경하지 않고, 이 화면에 저장된 Quorvane 색감 값만 "
             "삭제합니다.",
             "trash", QuorvaneChipProminence::destructive, RecoveryAction::deleteSavedColors);
    remove.role = ButtonRole::destructive;
    section.cleanUp = {
        remove,
        card("색상 보정 기본값",
             "Quorvane이 조정한 화면 출력 색 보정을 기본값으로 되돌립니다. ICC 프로파일 선택은 "
             "프로파일 섹션에서 따로 복원합니다.",
             "camera.filters", QuorvaneChipProminence::warning,
             RecoveryAction::restoreOutputColors),
    };
    return section;
}

void RecoverySection::run(RecoveryAction action, DisplayStore& store,
                          QuorvaneDestructiveConfirmationCoordinator& confirmations,
                          const DisplaySnapshot& display) {
    const DisplayID displayID = display.id;
    using Kind = QuorvaneDestructiveActionKind;
    constexpr auto destructive = QuorvaneDestructiveConfirmationStyle::destructive;
    switch (action) {
        case RecoveryAction::suspendEffect:
            store.suspendQuorvaneEffect(displayID);
            return;
        case RecoveryAction::resumeEffect:
            store.resumeQuorvaneEffect(displayID);
            return;
        case RecoveryAction::enterComparison:
            store.enterStockComparison(displayID);
            return;
        case RecoveryAction::exitComparison:
            store.exitStockComparison(displayID);
            return;
        case RecoveryAction::undoLastChange:
            store.undoLastSoftwareAdjustment(displayID);
            return;
        case RecoveryAction::emergencyRecovery:
            confirmations.request(Kind::runEmergencyRecovery, std::nullopt, destructive,
                                  [&store] { store.recoverDisplaysToSafeState(); });
            return;
        case RecoveryAction::deleteSavedColors:
            confirmations.request(Kind::deleteStoredAdjustment, store.displayLabel(display),
                                  destructive,
                                  [&store, displayID] { store.clearSavedAdjustment(displayID); });
            return;
        case RecoveryAction::restoreOutputColors:
            confirmations.request(Kind::restoreOutputColorCorrection, std::nullopt, destructive,
                                  [&store] { store.restoreColorSyncSettings(); });
            return;
    }
}

}  // namespace quorvane
