#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kUndoActionTitle = "되돌리기";
constexpr std::string_view kNothingToUndo = "되돌릴 Quorvane 색상 변경이 없습니다";

}  // namespace

bool DisplayStore::restorePreviousSoftwareAdjustment(const DisplaySnapshot& snapshot) {
    const auto snapshotIdentity = DisplayIdentity::of(snapshot);
    const auto& rawValue = snapshotIdentity.rawValue;
    const auto undo = effectRecoveryState_.undoByDisplayIdentity.find(rawValue);
    if (undo == effectRecoveryState_.undoByDisplayIdentity.end())
        return false;
    const auto previous = undo->second;
    const auto target = previous.adjustment.value_or(ColorAdjustment::neutral());
    if (!applyColorAdjustmentToIdentity(target, snapshot.id, snapshotIdentity))
        return false;
    if (previous.adjustment)
        setSavedAdjustment(rawValue, *previous.adjustment);
    else
        removeSavedAdjustment(rawValue);
    effectRecoveryState_.undoByDisplayIdentity.erase(rawValue);
    effectRecoveryState_.setMode(QuorvaneEffectRecoveryMode::active, snapshotIdentity);
    syncRecoverySnapshot(snapshotIdentity);
    return true;
}

void DisplayStore::undoLastSoftwareAdjustment(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto snapshot = displayReportingMissing(displayID);
    if (!snapshot)
        return;
    const auto undo =
        effectRecoveryState_.undoByDisplayIdentity.find(DisplayIdentity::of(*snapshot).rawValue);
    if (undo == effectRecoveryState_.undoByDisplayIdentity.end()) {
        setStatusMessage(std::string(kNothingToUndo));
        return;
    }
    const bool removesSavedValues = undo->second.isNone();
    if (!restorePreviousSoftwareAdjustment(*snapshot))
        return;
    savePreferences();
    // The prompt would otherwise offer to undo the same change again.
    clearRecentChangeRecoveryPrompt(std::nullopt);
    setStatusMessage(removesSavedValues ? "마지막 변경을 되돌려 저장 색상값을 삭제했습니다"
                                        : "마지막 Quorvane 색상 변경을 되돌렸습니다");
    appendRecoveryJournalEntry(
        makeJournalEntry(QuorvaneRecoveryJournalStatus::undone, std::string(kUndoActionTitle),
                         statusMessage_, "이 화면의 직전 Quorvane 화면 색감 변경을 되돌렸습니다.",
                         recoveryJournalTargets(std::vector<DisplaySnapshot>{*snapshot})));
}

std::vector<DisplaySnapshot> DisplayStore::displaysForRecentChangePrompt(
    const QuorvaneRecentChangeRecoveryPrompt& prompt) const {
    // A display that came back under another ID, or another monitor under
    // the old ID, is not the one that was changed.
    std::vector<DisplaySnapshot> found;
    std::set<DisplayID> taken;
    for (const auto& target : prompt.targets) {
        for (const auto& candidate : displays_) {
            if (candidate.id != target.displayID ||
                DisplayIdentity::of(candidate).rawValue != target.displayIdentityRawValue) {
                continue;
            }
            if (taken.insert(candidate.id).second)
                found.push_back(candidate);
            break;
        }
    }
    return found;
}

bool DisplayStore::undoRecentChangeRecoveryPrompt(const std::string& id) {
    ChangeScope scope(*this);
    if (!recentChangeRecoveryPrompt_ || recentChangeRecoveryPrompt_->id != id) {
        setStatusMessage("이미 지난 되돌리기 요청입니다");
        return false;
    }
    const auto prompt = *recentChangeRecoveryPrompt_;
    std::vector<std::string> restoredNames;
    std::vector<std::string> failedNames;
    int skippedCount = 0;
    for (const auto& target : displaysForRecentChangePrompt(prompt)) {
        // Checked per display: two displays of one identity share one undo
        // value, and the first restore consumes it.
        if (!effectRecoveryState_.undoByDisplayIdentity.contains(
                DisplayIdentity::of(target).rawValue)) {
            ++skippedCount;
            continue;
        }
        if (restorePreviousSoftwareAdjustment(target))
            restoredNames.push_back(target.name);
        else
            failedNames.push_back(target.name);
    }

    const auto journalTargets = recoveryJournalTargets(prompt.targets);
    auto journal = [&](QuorvaneRecoveryJournalStatus status, std::string detail) {
        appendRecoveryJournalEntry(makeJournalEntry(status, std::string(kUndoActionTitle),
                                                    statusMessage_, std::move(detail),
                                                    journalTargets));
    };
    if (restoredNames.empty()) {
        clearRecentChangeRecoveryPrompt(prompt.id);
        setStatusMessage(std::string(kNothingToUndo));
        journal(QuorvaneRecoveryJournalStatus::blocked,
                "되돌릴 직전 Quorvane 화면 색감 값을 찾지 못했습니다.");
        return false;
    }

    savePreferences();
    clearRecentChangeRecoveryPrompt(prompt.id);
    if (!failedNames.empty()) {
        setStatusMessage("일부 변경만 되돌렸습니다: 실패 " + joined(failedNames, ", "));
        journal(QuorvaneRecoveryJournalStatus::partial,
                "일부 화면만 직전 Quorvane 색감 값으로 되돌렸습니다.");
        return false;
    }
    if (restoredNames.size() == 1) {
        setStatusMessage("방금 변경을 되돌렸습니다: " + restoredNames.front());
    } else {
        setStatusMessage("방금 변경을 " +
                         formatDecimal(static_cast<std::uint64_t>(restoredNames.size())) +
                         "개 디스플레이에서 되돌렸습니다");
    }
    if (skippedCount == 0) {
        journal(QuorvaneRecoveryJournalStatus::undone,
                "방금 변경한 Quorvane 화면 색감 값을 되돌렸습니다.");
    } else {
        journal(QuorvaneRecoveryJournalStatus::partial,
                "일부 화면은 되돌릴 직전 값이 없어 건너뛰었습니다.");
    }
    return true;
}

}  // namespace quorvane
