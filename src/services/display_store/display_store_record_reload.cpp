#include "services/display_store/display_store.hpp"

#include <utility>

#include "services/persistence/record_merge.hpp"

namespace quorvane {

namespace {

// How soon a reload that waits for this store's own write looks again.
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
    if (recordsAwaitingReload_.empty())
        return;
    // A save still on its way would be read back as this store's own bytes
    // and the file's newer record missed; its write ends with a change of
    // the file, but that may already have been told.
    if (deferredSaves_ && deferredSaves_->hasUnwrittenValues()) {
        if (!recordReloadRetryTask_) {
            recordReloadRetryTask_ = scheduler_->postAfter(kReloadRetryDelay, [weak = weakSelf()] {
                if (auto self = weak.lock()) {
                    (*self)->recordReloadRetryTask_.reset();
                    (*self)->reloadRecordsChangedOnDisk({});
                }
            });
        }
        return;
    }
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
    // Only a change of what the windows show is announced: this store's own
    // saves come back here too, once each.
    if (changed)
        notifyChange();
}

bool DisplayStore::reloadPreferencesFromDisk() {
    const auto loaded = preferencesStore_->loadResult();
    if (loaded.recordUnreadable || loaded.recoveredFromCorruption)
        return false;
    // A record unreadable at start that reads now may be saved over again.
    preferencesUnreadable_ = false;
    const auto current = preferencesFromPublishedState();
    // What the user set and this store has not saved yet stays as set.
    const auto merged = RecordMerge::preferences(preferencesBase_, current, loaded.preferences,
                                                 preferencesTouched_);
    preferencesBase_ = loaded.preferences;
    const bool changed = merged != current;
    if (changed) {
        // A URL handled before this change, sent again, asks for the record
        // as it now stands: it is no copy to drop.
        automationURLCoordinator_.forgetHandled();
        const bool hotKeysChanged = hotKeySettingsDiffer(merged, current);
        preferences_ = merged;
        publishSettingsFromPreferences();
        if (hotKeysChanged)
            reconcileGlobalHotKeys(false);
    }
    return changed;
}

void DisplayStore::takeInPreferencesSavedElsewhere() {
    // While its own save is on its way the file may hold either side's
    // older record, so whether another process changed it cannot be told:
    // a repeated request is then carried out again rather than dropped.
    if (deferredSaves_ && deferredSaves_->hasUnwrittenValues()) {
        automationURLCoordinator_.forgetHandled();
        return;
    }
    // Told by the caller's change scope.
    reloadPreferencesFromDisk();
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
