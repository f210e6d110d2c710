#include "models/coding/uuid_text.hpp"
#include "models/display/display_control_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kResumeFirst = "비교하려면 먼저 저장된 효과를 다시 켜세요";
constexpr std::string_view kHoldingShowsOriginal = "누르는 동안 원래 색을 보여줍니다";

}  // namespace

std::optional<DisplayIdentity> DisplayStore::identityReportingMissing(DisplayID displayID) {
    auto found = identity(displayID);
    if (!found)
        setStatusMessage(DisplayControlError::displayNotFound(displayID).description());
    return found;
}

ColorAdjustment DisplayStore::savedAdjustmentOrNeutral(const DisplayIdentity& identity) const {
    const auto saved = colorAdjustments_.find(identity.rawValue);
    return saved == colorAdjustments_.end() ? ColorAdjustment::neutral() : saved->second;
}

bool DisplayStore::showWithRecoveryMode(const ColorAdjustment& adjustment,
                                        QuorvaneEffectRecoveryMode mode, DisplayID displayID,
                                        const DisplayIdentity& identity) {
    // Back to active, every display of the identity shows its colour again:
    // the mode is the identity's, and may have been set from a twin.
    const bool shown = mode == QuorvaneEffectRecoveryMode::active
                           ? applyColorAdjustmentToIdentity(adjustment, displayID, identity)
                           : applyColorAdjustment(adjustment, displayID, identity);
    if (!shown)
        return false;
    effectRecoveryState_.setMode(mode, identity);
    syncRecoverySnapshot(identity);
    return true;
}

void DisplayStore::clearSavedAdjustment(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto found = identityReportingMissing(displayID);
    if (!found)
        return;
    // Recorded first, so undo brings the values back even when the write
    // below fails.
    recordUndoAndActivate(*found);
    removeSavedAdjustment(found->rawValue);
    savePreferences();
    autoApplyTracker_.clear(*found);
    if (!applyColorAdjustmentToIdentity(ColorAdjustment::neutral(), displayID, *found))
        return;
    setStatusMessage("이 디스플레이의 저장 색상값 삭제됨");
    publishRecentChangeRecoveryPrompt({*display(displayID)}, "저장 색상값 삭제",
                                      QuorvaneRecoveryJournalStatus::applied, std::nullopt);
}

void DisplayStore::suspendQuorvaneEffect(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto found = identityReportingMissing(displayID);
    if (!found)
        return;
    if (!showWithRecoveryMode(ColorAdjustment::neutral(), QuorvaneEffectRecoveryMode::suspended,
                              displayID, *found))
        return;
    setStatusMessage("이 디스플레이의 Quorvane 효과를 잠시 껐습니다 — 저장값은 유지됩니다");
}

void DisplayStore::resumeQuorvaneEffect(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto found = identityReportingMissing(displayID);
    if (!found)
        return;
    if (!showWithRecoveryMode(savedAdjustmentOrNeutral(*found), QuorvaneEffectRecoveryMode::active,
                              displayID, *found))
        return;
    if (!softwareColorCorrectionEnabled_) {
        setStatusMessage(
            "저장된 효과는 유지했습니다 — 화면 색감 보정이 꺼져 있어 화면은 원래 색으로 둡니다");
    } else if (colorAdjustments_.contains(found->rawValue)) {
        setStatusMessage("저장된 Quorvane 효과를 다시 켰습니다");
    } else {
        setStatusMessage("저장된 효과가 없어 기본 색상으로 돌아왔습니다");
    }
}

void DisplayStore::enterStockComparison(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto found = identityReportingMissing(displayID);
    if (!found)
        return;
    if (!softwareColorCorrectionEnabled_) {
        setStatusMessage("화면 색감 보정이 꺼져 있어 비교할 보정 효과가 없습니다");
        return;
    }
    if (effectRecoveryState_.modesByDisplayIdentity.contains(found->rawValue)) {
        setStatusMessage(std::string(kResumeFirst));
        return;
    }
    if (!showWithRecoveryMode(ColorAdjustment::neutral(),
                              QuorvaneEffectRecoveryMode::comparingStock, displayID, *found))
        return;
    setStatusMessage("시스템 기본에 가까운 색상과 비교 중 — 저장값은 유지됩니다");
}

void DisplayStore::exitStockComparison(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto found = identityReportingMissing(displayID);
    if (!found)
        return;
    if (!showWithRecoveryMode(savedAdjustmentOrNeutral(*found), QuorvaneEffectRecoveryMode::active,
                              displayID, *found))
        return;
    setStatusMessage(
        softwareColorCorrectionEnabled_
            ? "비교를 종료하고 저장된 Quorvane 효과로 돌아왔습니다"
            : "비교를 종료했습니다 — 화면 색감 보정이 꺼져 있어 화면은 원래 색으로 둡니다");
}

std::optional<QuorvaneTemporaryNeutralComparisonToken>
DisplayStore::beginTemporaryNeutralComparison(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto found = identityReportingMissing(displayID);
    if (!found)
        return std::nullopt;
    if (!softwareColorCorrectionEnabled_) {
        setStatusMessage("화면 색감 보정이 꺼져 있어 이미 원래 색에 가깝게 보고 있습니다");
        return std::nullopt;
    }
    const QuorvaneTemporaryNeutralComparisonToken token{newUuidText(), found->rawValue};

    // Another holder is pressing: the screen is neutral already.
    if (auto running = temporaryNeutralComparisonSessions_.find(found->rawValue);
        running != temporaryNeutralComparisonSessions_.end()) {
        running->second.tokenIDs.insert(token.id);
        temporaryNeutralComparisonTokens_[token.id] = found->rawValue;
        setStatusMessage(std::string(kHoldingShowsOriginal));
        return token;
    }
    if (effectRecoveryState_.modesByDisplayIdentity.contains(found->rawValue)) {
        setStatusMessage(std::string(kResumeFirst));
        return std::nullopt;
    }
    if (!applyTemporaryColorAdjustment(ColorAdjustment::neutral(), displayID))
        return std::nullopt;
    temporaryNeutralComparisonSessions_[found->rawValue] = {
        *found, displayID, effectRecoveryState_.snapshot(*found).mode, {token.id}};
    temporaryNeutralComparisonTokens_[token.id] = found->rawValue;
    effectRecoveryState_.setMode(QuorvaneEffectRecoveryMode::comparingStock, *found);
    syncRecoverySnapshot(*found);
    setStatusMessage(std::string(kHoldingShowsOriginal));
    return token;
}

void DisplayStore::endTemporaryNeutralComparison(
    const std::optional<QuorvaneTemporaryNeutralComparisonToken>& token) {
    if (!token)
        return;
    const auto held = temporaryNeutralComparisonTokens_.find(token->id);
    if (held == temporaryNeutralComparisonTokens_.end())
        return;
    ChangeScope scope(*this);
    const std::string rawValue = held->second;
    temporaryNeutralComparisonTokens_.erase(held);
    const auto running = temporaryNeutralComparisonSessions_.find(rawValue);
    if (running == temporaryNeutralComparisonSessions_.end())
        return;
    running->second.tokenIDs.erase(token->id);
    if (!running->second.tokenIDs.empty())
        return;
    // The last holder let go. A failed restore keeps the session without
    // tokens: the next holder's end, or ending every comparison, retries it.
    const auto session = running->second;
    if (restoreTemporaryNeutralComparison(session))
        temporaryNeutralComparisonSessions_.erase(rawValue);
}

bool DisplayStore::temporaryNeutralComparisonRuns(
    const QuorvaneTemporaryNeutralComparisonToken& token) const {
    return temporaryNeutralComparisonTokens_.contains(token.id);
}

}  // namespace quorvane
