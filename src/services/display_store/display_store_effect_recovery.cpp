#include "models/display/display_instance_key.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

void DisplayStore::recordUndoAndActivate(const DisplayIdentity& identity) {
    const auto saved = colorAdjustments_.find(identity.rawValue);
    effectRecoveryState_.undoByDisplayIdentity[identity.rawValue] =
        saved == colorAdjustments_.end() ? QuorvanePreviousAdjustment::none()
                                         : QuorvanePreviousAdjustment::value(saved->second);
    effectRecoveryState_.setMode(QuorvaneEffectRecoveryMode::active, identity);
    syncRecoverySnapshot(identity);
}

void DisplayStore::recordUndoOnceAndActivate(const DisplayIdentity& identity,
                                             std::set<std::string>& recorded) {
    if (recorded.insert(identity.rawValue).second)
        recordUndoAndActivate(identity);
}

void DisplayStore::syncRecoverySnapshot(const DisplayIdentity& identity) {
    const auto snapshot = effectRecoveryState_.snapshot(identity);
    recoverySnapshots_[identity.rawValue] = snapshot;
    // Another operation took the display out of its comparison (a recorded
    // change, an undo, suspending or resuming the effect): the screen shows
    // that operation's colour now, so the comparison is over. Its holders'
    // tokens are dropped with it: a later holder starts a new comparison
    // instead of joining one whose neutral screen is gone, and a late end
    // cannot restore the mode the comparison replaced over the new one.
    if (snapshot.mode != QuorvaneEffectRecoveryMode::comparingStock)
        dropTemporaryNeutralComparison(identity.rawValue);
}

void DisplayStore::dropTemporaryNeutralComparison(const std::string& rawValue) {
    const auto running = temporaryNeutralComparisonSessions_.find(rawValue);
    if (running == temporaryNeutralComparisonSessions_.end())
        return;
    for (const auto& tokenID : running->second.tokenIDs)
        temporaryNeutralComparisonTokens_.erase(tokenID);
    temporaryNeutralComparisonSessions_.erase(running);
}

bool DisplayStore::applyTemporaryColorAdjustment(const ColorAdjustment& adjustment,
                                                 DisplayID displayID) {
    if (auto error = writeTransferTables(adjustment, displayID)) {
        setStatusMessage(*error);
        return false;
    }
    return true;
}

bool DisplayStore::restoreTemporaryNeutralComparison(
    const TemporaryNeutralComparisonSession& session) {
    const auto sessionKey = displayInstanceKey(session.identity, session.displayID);
    bool present = false;
    for (const auto& shown : displays_) {
        if (displayInstanceKey(shown) == sessionKey)
            present = true;
    }
    if (!present) {
        effectRecoveryState_.setMode(session.previousMode, session.identity);
        syncRecoverySnapshotsForVisibleDisplays();
        setStatusMessage("비교하던 디스플레이가 사라져 임시 비교를 종료했습니다");
        return true;
    }
    const auto adjustment = softwareColorCorrectionEnabled_
                                ? savedAdjustmentOrNeutral(session.identity)
                                : ColorAdjustment::neutral();
    if (!applyTemporaryColorAdjustment(adjustment, session.displayID)) {
        syncRecoverySnapshot(session.identity);
        return false;
    }
    effectRecoveryState_.setMode(session.previousMode, session.identity);
    syncRecoverySnapshot(session.identity);
    setStatusMessage("원래 색 보기를 끝내고 현재 색감으로 돌아왔습니다");
    return true;
}

}  // namespace quorvane
