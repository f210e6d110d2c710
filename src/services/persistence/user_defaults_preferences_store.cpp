#include "services/persistence/user_defaults_preferences_store.hpp"

#include <exception>
#include <utility>

#include "services/persistence/record_decoding.hpp"

namespace quorvane {

namespace {

bool decodes(const std::string& bytes) {
    return decodedRecord<QuorvanePreferences>(bytes).has_value();
}

}  // namespace

std::string UserDefaultsPreferencesStore::standardStorageKey() {
    return std::string(kDefaultsDomain) + ".preferences.v1";
}

std::string UserDefaultsPreferencesStore::keptCopyNotice(const std::string& copyName) {
    return std::string(kCorruptionNotice) + " " + keptCopyNamed(copyName);
}

std::string UserDefaultsPreferencesStore::keptCopyNamed(const std::string& copyName) {
    return "읽지 못한 기록은 따로 보관했습니다: " + copyName;
}

UserDefaultsPreferencesStore::UserDefaultsPreferencesStore(
    std::shared_ptr<DefaultsStoring> defaults, std::string storageKey)
    : defaults_(std::move(defaults)), storageKey_(std::move(storageKey)), undecodable_(decodes) {}

DefaultsReadResult UserDefaultsPreferencesStore::readRecord() const {
    auto read = defaults_->read(storageKey_);
    std::lock_guard guard(mutex_);
    lastReadError_ = read.error;
    lastLoadRequests_ = read.requested;
    return read;
}

TouchedRecordParts UserDefaultsPreferencesStore::loadRequests() const {
    return readRecord().requested;
}

PreferencesLoadResult UserDefaultsPreferencesStore::loadResult() const {
    const auto read = readRecord();
    if (read.error)
        return {QuorvanePreferences::defaults(), true, read.error->description(), true};
    if (!read.data)
        return {QuorvanePreferences::defaults(), false, std::nullopt, false, read.writtenAt};
    try {
        return {QuorvanePreferences::decoded(*read.data), false, std::nullopt, false,
                read.writtenAt};
    } catch (const std::exception&) {
        undecodable_.noteUndecodable();
        return {QuorvanePreferences::defaults(), true, std::string(kCorruptionNotice), false};
    }
}

std::optional<DefaultsStoreError> UserDefaultsPreferencesStore::lastReadError() const {
    std::lock_guard guard(mutex_);
    return lastReadError_;
}

TouchedRecordParts UserDefaultsPreferencesStore::lastLoadRequests() const {
    std::lock_guard guard(mutex_);
    return lastLoadRequests_;
}

SaveOutcome UserDefaultsPreferencesStore::save(const QuorvanePreferences& preferences,
                                               const TouchedRecordParts& touched) {
    const auto bytes = preferences.encoded();
    if (!bytes)
        return SaveOutcome::failed({DefaultsStoreError::Kind::notEncodable, {}, {}});
    const auto lock = defaults_->lockExclusively();
    if (lock.failure())
        return SaveOutcome::failed(*lock.failure());
    auto kept = undecodable_.keepAsideBeforeSave(*defaults_, storageKey_);
    if (!kept.succeeded())
        return kept;
    auto outcome = defaults_->setDataTouching(storageKey_, *bytes, touched);
    // A store that keeps the record aside itself names its copy in its own
    // outcome.
    if (kept.keptCopy)
        outcome.keptCopy = std::move(kept.keptCopy);
    return outcome;
}

DefaultsLock UserDefaultsPreferencesStore::lockExclusively() {
    return defaults_->lockExclusively();
}

bool UserDefaultsPreferencesStore::mayHoldOthersSave() const {
    return defaults_->mayHoldOthersWrite(storageKey_);
}

DefaultsLock UserDefaultsPreferencesStore::tryLockExclusively() {
    return defaults_->tryLockExclusively();
}

}  // namespace quorvane
