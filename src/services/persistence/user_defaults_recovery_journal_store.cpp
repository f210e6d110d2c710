#include "services/persistence/user_defaults_recovery_journal_store.hpp"

#include <exception>
#include <utility>

#include "services/persistence/record_decoding.hpp"

namespace quorvane {

namespace {

bool decodes(const std::string& bytes) {
    return decodedRecord<QuorvaneRecoveryJournal>(bytes).has_value();
}

}  // namespace

std::string UserDefaultsRecoveryJournalStore::standardStorageKey() {
    return std::string(kDefaultsDomain) + ".recoveryJournal.v1";
}

UserDefaultsRecoveryJournalStore::UserDefaultsRecoveryJournalStore(
    std::shared_ptr<DefaultsStoring> defaults, std::string storageKey)
    : defaults_(std::move(defaults)), storageKey_(std::move(storageKey)), undecodable_(decodes) {}

QuorvaneRecoveryJournalLoadResult UserDefaultsRecoveryJournalStore::loadResult() const {
    const auto read = defaults_->read(storageKey_);
    unreadable_ = read.error.has_value();
    if (read.error)
        return {QuorvaneRecoveryJournal{}, false, read.error->description(), true};
    if (!read.data)
        return {};
    try {
        return {QuorvaneRecoveryJournal::decoded(*read.data), false, std::nullopt};
    } catch (const std::exception&) {
        undecodable_.noteUndecodable();
        return {QuorvaneRecoveryJournal{}, true, std::string(kCorruptionNotice)};
    }
}

void UserDefaultsRecoveryJournalStore::save(const QuorvaneRecoveryJournal& journal) {
    if (unreadable_)
        return;
    const auto lock = defaults_->lockExclusively();
    if (!undecodable_.keepAsideBeforeSave(*defaults_, storageKey_).succeeded())
        return;
    defaults_->setData(storageKey_, journal.encoded());
}

}  // namespace quorvane
