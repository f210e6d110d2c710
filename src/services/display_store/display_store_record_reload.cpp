#include "services/display_store/display_store.hpp"

#include <utility>

#include "services/persistence/defaults_store.hpp"
#include "services/persistence/record_merge.hpp"

namespace quorvane {

namespace {

// How soon a reload that waits for this store's own write, or for the
// shared lock, looks again.
constexpr Duration kReloadRetryDelay = std::chrono::milliseconds(100);

bool hotKeySettingsDiffer(const QuorvanePreferences& a, const QuorvanePreferences& b) {
    // A binding whose scene is gone is not registered.
    return a.customScenes != b.customScenes || a.sceneHotKeysEnabled != b.sceneHotKeysEnabled ||
           a.sceneHotKeyBindings != b.sceneHotKeyBindings ||
           a.emergencyRecoveryHotKeyEnabled != b.emergencyRecoveryHotKeyEnabled ||
           a.emergencyRecoveryHotKeyCombination != b.emergencyRecoveryHotKeyCombination;
}

// Merges the record read from disk into the one `held`, with `base` as what
// the disk held before; the read record becomes the base. True when `held`
// changed.
template <class Record>
bool mergeRecordFromDisk(Record& held, Record& base, const Record& loaded,
                         Record (*merge)(const Record&, const Record&, const Record&)) {
    auto merged = merge(base, held, loaded);
    base = loaded;
    if (merged == held)
        return false;
    held = std::move(merged);
    return true;
}

}  // namespace

void DisplayStore::reloadRecordsChangedOnDisk(const std::set<DisplayStoreRecord>& records) {
    recordsAwaitingReload_.insert(records.begin(), records.end());
    takeInRecords();
}

bool DisplayStore::takeInAwaited() const {
    return !recordsAwaitingReload_.empty() || outputStepAwaitingRecords_ ||
           !adjustmentsTakenIn_.empty() || outputSwitchesTakenIn_ ||
           !adjustmentsWrittenElsewhere_.empty();
}

void DisplayStore::takeInRecords() {
    if (!takeInAwaited())
        return;
    // A save still on its way would be read back as this store's own bytes
    // and the file's newer record missed; its write ends with a change of
    // the file, but that may already have been told. Another process
    // holding the lock is between its read of the record and its write of
    // it, with the screen written in between: what this store reads now
    // may be overtaken at once, and what it puts on the screen must not
    // land after that process's colour.
    DefaultsLock lock;
    bool mustWait = deferredSaves_ && deferredSaves_->hasUnwrittenValues();
    // While this store's own save is written (it may itself wait for the
    // lock) nobody looks at the lock: whoever holds it afterwards may be
    // another process, whose hold has only begun.
    if (mustWait)
        sharedLockBusySince_.reset();
    if (!mustWait) {
        lock = preferencesStore_->tryLockExclusively();
        // Only a holder lets go: a lock file that cannot be used stays so,
        // and the records are read without it, as after a wait.
        mustWait = lock.failure() && lock.failure()->kind == DefaultsStoreError::Kind::lockHeld &&
                   !sharedLockWaitIsOver();
    }
    if (mustWait) {
        if (!recordReloadRetryTask_) {
            recordReloadRetryTask_ = scheduler_->postAfter(kReloadRetryDelay, [weak = weakSelf()] {
                if (auto self = weak.lock()) {
                    (*self)->recordReloadRetryTask_.reset();
                    (*self)->takeInRecords();
                }
            });
        }
        return;
    }
    // Read with the lock or after a wait for it: the next time the lock is
    // found busy its holder may be another process, whose wait starts over.
    // A wait that outlived its holder would let a later take-in read and
    // write the screens at once under another process's lock, between that
    // process's screen write and its save.
    sharedLockBusySince_.reset();
    const auto pending = std::exchange(recordsAwaitingReload_, {});
    bool changed = false;
    if (pending.contains(DisplayStoreRecord::preferences))
        changed = reloadPreferencesFromDisk() || changed;
    if (pending.contains(DisplayStoreRecord::recoveryJournal))
        changed = reloadRecoveryJournalFromDisk() || changed;
    if (pending.contains(DisplayStoreRecord::ddcCapabilityCache))
        changed = reloadDDCCapabilityCacheFromDisk() || changed;
    // Changes held while the record could not be read are saved now that it
    // reads.
    if (preferencesChangesHeld_ && !preferencesUnreadable_)
        savePreferences();
    if (const auto intent = std::exchange(outputStepAwaitingRecords_, std::nullopt))
        writeOutputStep(*intent);
    showTakenInAdjustments();
    // Only a change of what the windows show is announced: this store's own
    // saves come back here too, once each.
    if (changed)
        notifyChange();
}

bool DisplayStore::sharedLockWaitIsOver() {
    const auto now = scheduler_->monotonicNow();
    if (!sharedLockBusySince_)
        sharedLockBusySince_ = now;
    return now - *sharedLockBusySince_ >= FileDefaultsStore::kSharedLockWait;
}

bool DisplayStore::reloadPreferencesFromDisk() {
    const auto loaded = preferencesStore_->loadResult();
    if (loaded.recordUnreadable || loaded.recoveredFromCorruption)
        return false;
    // A record unreadable at start that reads now may be saved over again.
    preferencesUnreadable_ = false;
    noteAdjustmentsRequestedElsewhere(preferencesStore_->lastLoadRequests());
    const auto current = preferencesFromPublishedState();
    // What the user set and this store has not saved yet stays as set,
    // unless another process set it again after the user asked.
    const auto merged = RecordMerge::preferences(preferencesBase_, current, loaded.preferences,
                                                 preferencesTouched_, loaded.writtenAt);
    preferencesBase_ = loaded.preferences;
    const bool changed = merged != current;
    if (changed) {
        // A URL handled before this change, sent again, asks for the record
        // as it now stands: it is no copy to drop.
        automationURLCoordinator_.forgetHandled();
        const bool hotKeysChanged = hotKeySettingsDiffer(merged, current);
        noteAdjustmentsTakenIn(current, merged);
        endComparisonsOfAdjustmentsTakenIn();
        preferences_ = merged;
        publishSettingsFromPreferences();
        if (hotKeysChanged)
            reconcileGlobalHotKeys(false);
    }
    return changed;
}

void DisplayStore::noteAdjustmentsTakenIn(const QuorvanePreferences& before,
                                          const QuorvanePreferences& after) {
    for (const auto* side : {&before, &after}) {
        for (const auto& [identity, adjustment] : side->displayAdjustments) {
            const auto& other = side == &before ? after : before;
            const auto found = other.displayAdjustments.find(identity);
            if (found == other.displayAdjustments.end() || found->second != adjustment)
                adjustmentsTakenIn_.insert(identity);
        }
    }
    if (before.softwareColorCorrectionEnabled != after.softwareColorCorrectionEnabled ||
        before.autoApplyEnabled != after.autoApplyEnabled)
        outputSwitchesTakenIn_ = true;
}

void DisplayStore::noteAdjustmentsRequestedElsewhere(const TouchedRecordParts& requested) {
    const auto before = std::exchange(preferencesRequestsTakenIn_, requested);
    for (const auto& shown : displays_) {
        const auto identity = DisplayIdentity::of(shown).rawValue;
        const auto now =
            requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, identity);
        const auto was = before.askedAt(RecordMerge::PreferencesPart::displayAdjustments, identity);
        if (now && (!was || *now > *was))
            adjustmentsWrittenElsewhere_.insert(identity);
    }
}

void DisplayStore::endComparisonsOfAdjustmentsTakenIn() {
    // Another process set these displays' colour (the command line puts it
    // on the screen as it saves): a comparison of them is over. The mode it
    // replaced comes back, so the take-in shows the new colour as it does on
    // any display.
    for (const auto& rawValue : adjustmentsTakenIn_) {
        const auto running = temporaryNeutralComparisonSessions_.find(rawValue);
        if (running == temporaryNeutralComparisonSessions_.end())
            continue;
        const auto session = running->second;
        dropTemporaryNeutralComparison(rawValue);
        effectRecoveryState_.setMode(session.previousMode, session.identity);
        syncRecoverySnapshot(session.identity);
    }
}

void DisplayStore::takeInPreferencesSavedElsewhere() {
    // While its own save is on its way the record is not read back (it may
    // be either side's older one), but whether another process wrote it
    // since can be told: the file then holds a write that is neither the
    // one last read nor one of this process's own. Only then is a repeated
    // request carried out again rather than dropped; this store's own save
    // landing meanwhile is no such write.
    if (deferredSaves_ && deferredSaves_->hasUnwrittenValues()) {
        if (preferencesStore_->mayHoldOthersSave())
            automationURLCoordinator_.forgetHandled();
        return;
    }
    // Told by the caller's change scope; the screens follow under the
    // shared lock.
    if (reloadPreferencesFromDisk() || !adjustmentsWrittenElsewhere_.empty())
        takeInRecords();
}

bool DisplayStore::reloadRecoveryJournalFromDisk() {
    const auto loaded = recoveryJournalStore_->loadResult();
    // An unreadable journal reads as empty: merging that would drop every
    // entry both sides share from the one this store shows.
    if (loaded.recordUnreadable || loaded.recoveredFromCorruption)
        return false;
    return mergeRecordFromDisk(recoveryJournal_, recoveryJournalBase_, loaded.journal,
                               RecordMerge::recoveryJournal);
}

bool DisplayStore::reloadDDCCapabilityCacheFromDisk() {
    const auto loaded = ddcCapabilityCacheStore_->loadResult();
    if (loaded.recoveredFromCorruption)
        return false;
    return mergeRecordFromDisk(ddcCapabilityCache_, ddcCapabilityCacheBase_, loaded.cache,
                               RecordMerge::ddcCapabilityCache);
}

}  // namespace quorvane
