#include <utility>

#include "services/display_store/display_store.hpp"
#include "services/persistence/record_merge.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kPreferencesUnreadableNotice =
    "저장된 설정을 읽을 수 없어 변경을 저장하지 않았습니다.";

bool isUnreadable(const SaveOutcome& outcome) {
    return outcome.error && outcome.error->kind == DefaultsStoreError::Kind::unreadable;
}

}  // namespace

void DisplayStore::savePreferences() {
    if (preferencesSaveHeld())
        return;
    preferences_ = preferencesFromPublishedState();
    preferencesBase_ = preferences_;
    const bool wasHeld = preferencesChangesHeld_.exchange(false);
    auto outcome = preferencesStore_->save(preferences_, preferencesTouched_);
    if (isUnreadable(outcome)) {
        // Found unreadable by this very save: held as at start, touched
        // parts and all, until the record reads again.
        preferencesUnreadable_ = true;
        preferencesChangesHeld_ = true;
    } else {
        preferencesTouched_ = {};
    }
    reportSaveOutcome(outcome);
    if (wasHeld && outcome.succeeded())
        clearSaveProblemWhenWritten();
}

void DisplayStore::touchPreference(std::string_view field, std::string_view entry) {
    preferencesTouched_.touch(field, entry, requestAskedAt());
}

Date DisplayStore::requestAskedAt() const {
    return requestAskedAt_.value_or(requestNow());
}

Date DisplayStore::requestNow() const {
    return requestClock_ ? requestClock_->now() : scheduler_->wallNow();
}

void DisplayStore::setSavedAdjustment(const std::string& identity,
                                      const ColorAdjustment& adjustment) {
    colorAdjustments_[identity] = adjustment;
    touchPreference(RecordMerge::PreferencesPart::displayAdjustments, identity);
}

void DisplayStore::removeSavedAdjustment(const std::string& identity) {
    colorAdjustments_.erase(identity);
    touchPreference(RecordMerge::PreferencesPart::displayAdjustments, identity);
}

std::vector<UnwrittenSave> DisplayStore::flushPendingSaves() {
    // Changes held while the record could not be read get one more try: it
    // may read by now.
    if (preferencesChangesHeld_)
        savePreferences();
    std::vector<UnwrittenSave> unwritten;
    if (deferredSaves_)
        unwritten = deferredSaves_->flushPendingSaves();
    for (auto& held : heldSaves())
        unwritten.push_back(std::move(held));
    if (!unwritten.empty())
        reportSaveOutcome(unwritten.front().outcome);
    return unwritten;
}

std::vector<UnwrittenSave> DisplayStore::heldSaves() const {
    if (!preferencesChangesHeld_)
        return {};
    auto error = preferencesStore_->lastReadError().value_or(
        DefaultsStoreError{DefaultsStoreError::Kind::unreadable, {}, {}});
    return {{UserDefaultsPreferencesStore::standardStorageKey(), SaveOutcome::failed(error),
             preferencesTouched_}};
}

bool DisplayStore::mayHoldUnsavedChanges() const {
    return preferencesChangesHeld_ || (deferredSaves_ && deferredSaves_->mayHoldUnsavedValues());
}

bool DisplayStore::preferencesSaveHeld() {
    if (!preferencesUnreadable_)
        return false;
    const auto load = preferencesStore_->loadResult();
    if (load.recordUnreadable) {
        preferencesChangesHeld_ = true;
        showSaveProblem(load.message.value_or(std::string(kPreferencesUnreadableNotice)));
        return true;
    }
    // It reads again: the changes made meanwhile go on top of it, as on any
    // record changed on disk. One that reads but does not decode is kept
    // aside by the save, as at any start.
    preferencesUnreadable_ = false;
    if (!load.recoveredFromCorruption)
        reloadPreferencesFromDisk();
    return false;
}

void DisplayStore::reportDeferredSaveFailure(const std::string& key, const SaveOutcome& outcome) {
    unwrittenRecordKeys_.insert(key);
    reportSaveOutcome(outcome);
}

void DisplayStore::recordWrittenAfterFailure(const std::string& key) {
    unwrittenRecordKeys_.erase(key);
    clearSaveProblemWhenWritten();
}

// The preferences' copy is named as when the save kept it at once; the
// other records say at start that they start over, and that is enough.
void DisplayStore::reportDeferredKeptCopy(const std::string& key, const std::string& copy) {
    if (key == UserDefaultsPreferencesStore::standardStorageKey())
        reportSaveOutcome({std::nullopt, copy});
}

void DisplayStore::reportSaveOutcome(const SaveOutcome& outcome) {
    std::optional<std::string> text;
    if (outcome.keptCopy)
        text = UserDefaultsPreferencesStore::keptCopyNotice(*outcome.keptCopy);
    if (outcome.error)
        text = outcome.error->description();
    if (text)
        showSaveProblem(std::move(*text));
}

void DisplayStore::showSaveProblem(std::string text) {
    ChangeScope scope(*this);
    // The status a problem replaced is the one to come back once the
    // change is written, not an earlier problem's text.
    const bool problemShown = shownSaveProblem_ && statusMessage_ == shownSaveProblem_->text;
    if (!problemShown) {
        shownSaveProblem_ = ShownSaveProblem{{},
                                             statusMessage_,
                                             diagnosticStatusMessagePrivacyTokens_,
                                             diagnosticStatusMessageRequiresDDCValueRedaction_};
    }
    shownSaveProblem_->text = text;
    stickyStatusMessage_.reset();
    setStatusMessage(text);
    stickyStatusMessage_ = std::move(text);
}

bool DisplayStore::keepsWaitingSaveProblemShown(const std::string& laterStatus) {
    const bool waiting = !unwrittenRecordKeys_.empty() || preferencesChangesHeld_;
    if (!waiting || !shownSaveProblem_ || statusMessage_ != shownSaveProblem_->text)
        return false;
    shownSaveProblem_->replacedStatus = laterStatus;
    shownSaveProblem_->replacedPrivacyTokens.clear();
    shownSaveProblem_->replacedRequiresDDCValueRedaction = false;
    return true;
}

void DisplayStore::clearSaveProblemWhenWritten() {
    if (!shownSaveProblem_ || !unwrittenRecordKeys_.empty() || preferencesChangesHeld_)
        return;
    auto problem = *std::exchange(shownSaveProblem_, std::nullopt);
    // A later status has taken its place already.
    if (statusMessage_ != problem.text)
        return;
    ChangeScope scope(*this);
    setStatusMessage(std::move(problem.replacedStatus));
    diagnosticStatusMessagePrivacyTokens_ = std::move(problem.replacedPrivacyTokens);
    diagnosticStatusMessageRequiresDDCValueRedaction_ = problem.replacedRequiresDDCValueRedaction;
}

}  // namespace quorvane
