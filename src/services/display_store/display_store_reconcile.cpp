#include <algorithm>

#include "models/coding/unicode_text.hpp"
#include "models/display/display_instance_key.hpp"
#include "services/display/display_selection_restorer.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::size_t kMaximumDiagnosticPrivacyTokens = 200;

}  // namespace

void DisplayStore::reconcileDisplayRefreshState(const ColorProfileRefreshUpdate& profileUpdate) {
    std::set<std::string> visibleInstanceKeys;
    std::set<std::string> visibleIdentities;
    for (const auto& shown : displays_) {
        visibleInstanceKeys.insert(displayInstanceKey(shown));
        visibleIdentities.insert(DisplayIdentity::of(shown).rawValue);
    }
    reconcileTemporaryNeutralComparisons(visibleInstanceKeys);
    autoApplyTracker_.reconcileVisibleInstances(visibleInstanceKeys);
    effectRecoveryState_.reconcileVisibleIdentities(visibleIdentities);
    syncRecoverySnapshotsForVisibleDisplays();

    switch (profileUpdate.kind) {
        case ColorProfileRefreshUpdate::Kind::readForIntent:
            syncColorProfileStatesForVisibleDisplays(profileUpdate.intent);
            break;
        case ColorProfileRefreshUpdate::Kind::collected: {
            std::map<DisplayID, DisplayColorProfileState> kept;
            for (const auto& [displayID, state] : profileUpdate.states) {
                if (display(displayID))
                    kept.emplace(displayID, state);
            }
            colorProfileStates_ = std::move(kept);
            for (const auto& [displayID, state] : colorProfileStates_)
                rememberDiagnosticPrivacyTokens(state);
            break;
        }
        case ColorProfileRefreshUpdate::Kind::pruneOnly:
            pruneColorProfileStatesForVisibleDisplays();
            break;
    }
    restoreSelectionAfterDisplayRefresh();
}

void DisplayStore::reconcileTemporaryNeutralComparisons(
    const std::set<std::string>& visibleInstanceKeys) {
    std::vector<std::string> ended;
    for (const auto& [rawValue, session] : temporaryNeutralComparisonSessions_) {
        if (!visibleInstanceKeys.contains(displayInstanceKey(session.identity, session.displayID)))
            ended.push_back(rawValue);
    }
    if (ended.empty())
        return;
    // The display is gone or carries another ID now: nothing is written, only
    // the mode it had before the comparison comes back.
    for (const auto& rawValue : ended) {
        const auto session = temporaryNeutralComparisonSessions_.at(rawValue);
        for (const auto& tokenID : session.tokenIDs)
            temporaryNeutralComparisonTokens_.erase(tokenID);
        temporaryNeutralComparisonSessions_.erase(rawValue);
        effectRecoveryState_.setMode(session.previousMode, session.identity);
    }
    setStatusMessage("비교하던 디스플레이 연결이 바뀌어 임시 비교를 종료했습니다");
}

void DisplayStore::syncRecoverySnapshotsForVisibleDisplays() {
    std::map<std::string, QuorvaneEffectRecoverySnapshot> snapshots;
    for (const auto& shown : displays_) {
        const auto shownIdentity = DisplayIdentity::of(shown);
        snapshots.emplace(shownIdentity.rawValue, effectRecoveryState_.snapshot(shownIdentity));
    }
    recoverySnapshots_ = std::move(snapshots);
}

void DisplayStore::syncColorProfileStatesForVisibleDisplays(RefreshIntent intent) {
    pruneColorProfileStatesForVisibleDisplays();
    std::vector<DisplaySnapshot> targets;
    for (const auto& shown : displays_) {
        const bool known = colorProfileStates_.contains(shown.id);
        if (intent != RefreshIntent::passiveViewAppearance || !known)
            targets.push_back(shown);
    }
    for (const auto& target : targets)
        syncColorProfileState(target);
}

void DisplayStore::pruneColorProfileStatesForVisibleDisplays() {
    for (const auto& [displayID, state] : colorProfileStates_)
        rememberDiagnosticPrivacyTokens(state);
    std::erase_if(colorProfileStates_,
                  [this](const auto& entry) { return !display(entry.first).has_value(); });
}

void DisplayStore::rememberDiagnosticPrivacyTokens(const DisplayColorProfileState& state) {
    std::vector<std::string> tokens;
    for (const auto& profile : state.profiles)
        appendDiagnosticRedactionTokens(profile, tokens);
    for (const auto& token : tokens) {
        auto trimmed = trimWhitespaceAndNewlines(token);
        if (trimmed.empty())
            continue;
        if (std::find(diagnosticPrivacyTokens_.begin(), diagnosticPrivacyTokens_.end(), trimmed) !=
            diagnosticPrivacyTokens_.end()) {
            continue;
        }
        diagnosticPrivacyTokens_.push_back(std::move(trimmed));
        if (diagnosticPrivacyTokens_.size() > kMaximumDiagnosticPrivacyTokens) {
            const auto excess = diagnosticPrivacyTokens_.size() - kMaximumDiagnosticPrivacyTokens;
            diagnosticPrivacyTokens_.erase(
                diagnosticPrivacyTokens_.begin(),
                diagnosticPrivacyTokens_.begin() + static_cast<std::ptrdiff_t>(excess));
        }
    }
}

void DisplayStore::restoreSelectionAfterDisplayRefresh() {
    const auto result = DisplaySelectionRestorer::restore(selectedDisplayID_, displays_,
                                                          preferences_.lastSelectedDisplayIdentity);
    // A remembered display that is merely absent stays remembered.
    suppressSelectionPersistence_ = !result.persistsSelection;
    setSelectedDisplayID(result.selectedDisplayID);
    suppressSelectionPersistence_ = false;
}

bool DisplayStore::cancelAllTemporaryNeutralComparisons() {
    ChangeScope scope(*this);
    temporaryNeutralComparisonTokens_.clear();
    if (temporaryNeutralComparisonSessions_.empty())
        return true;
    bool allRestored = true;
    const auto sessions = temporaryNeutralComparisonSessions_;
    for (const auto& [rawValue, session] : sessions) {
        auto released = session;
        released.tokenIDs.clear();
        if (restoreTemporaryNeutralComparison(released)) {
            temporaryNeutralComparisonSessions_.erase(rawValue);
        } else {
            temporaryNeutralComparisonSessions_[rawValue] = released;
            allRestored = false;
        }
    }
    return allRestored;
}

}  // namespace quorvane
