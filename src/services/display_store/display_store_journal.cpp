#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/uuid_text.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

void DisplayStore::appendRecoveryJournalEntry(QuorvaneRecoveryJournalEntry entry) {
    auto journal = recoveryJournal_;
    journal.append(std::move(entry));
    recoveryJournal_ = journal;
    recoveryJournalBase_ = recoveryJournal_;
    recoveryJournalStore_->save(recoveryJournal_);
}

std::vector<QuorvaneRecoveryJournalTarget> DisplayStore::recoveryJournalTargets(
    const std::vector<DisplaySnapshot>& displays) const {
    std::vector<QuorvaneRecoveryJournalTarget> targets;
    std::set<std::string> seen;
    for (const auto& target : displays) {
        const auto rawValue = DisplayIdentity::of(target).rawValue;
        if (!seen.insert(formatDecimal(target.id) + "-" + rawValue).second)
            continue;
        targets.push_back({target.id, rawValue, displayLabel(target)});
    }
    return targets;
}

std::vector<QuorvaneRecoveryJournalTarget> DisplayStore::recoveryJournalTargets(
    const std::vector<QuorvaneRecentChangeRecoveryTarget>& promptTargets) const {
    std::vector<QuorvaneRecoveryJournalTarget> targets;
    std::set<std::string> seen;
    for (const auto& target : promptTargets) {
        if (!seen.insert(formatDecimal(target.displayID) + "-" + target.displayIdentityRawValue)
                 .second) {
            continue;
        }
        targets.push_back({target.displayID, target.displayIdentityRawValue, target.displayName});
    }
    return targets;
}

QuorvaneRecoveryJournalEntry DisplayStore::makeJournalEntry(
    QuorvaneRecoveryJournalStatus status, std::string actionTitle, std::string summary,
    std::string detail, std::vector<QuorvaneRecoveryJournalTarget> targets) const {
    QuorvaneRecoveryJournalEntry entry;
    entry.id = newUuidText();
    entry.createdAt = scheduler_->wallNow();
    // Another writer's entries are placed among these by when they were
    // asked for, which the wall clock cannot tell once it was set back.
    if (requestClock_) {
        const auto& line = requestClock_->timeline();
        entry.requested = RecoveryJournalRequestTime{requestAskedAt(), line.bootID, line.offset};
    }
    entry.status = status;
    entry.actionTitle = std::move(actionTitle);
    // The writers pass the status just shown; when a failed save shows in
    // its place, the entry keeps the action's own text.
    if (stickyStatusMessage_ && summary == statusMessage_)
        summary = actionStatusMessage_;
    entry.summary = std::move(summary);
    entry.detail = std::move(detail);
    entry.targets = std::move(targets);
    return entry;
}

}  // namespace quorvane
