#include "services/persistence/user_defaults_recovery_journal_store.hpp"

#include <exception>
#include <utility>

namespace quorvane {

std::string UserDefaultsRecoveryJournalStore::standardStorageKey() {
    return std::string(kDefaultsDomain) + ".recoveryJournal.v1";
}

UserDefaultsRecoveryJournalStore::UserDefaultsRecoveryJournalStore(
    std::shared_ptr<DefaultsStoring> defaults, std::string storageKey)
    : defaults_(std::move(defaults)), storageKey_(std::move(storageKey)) {}

QuorvaneRecoveryJournalLoadResult UserDefaultsRecoveryJournalStore::loadResult() const {
    const auto data = defaults_->dataForKey(storageKey_);
    if (!data)
        return {};
    try {
        return {QuorvaneRecoveryJournal::decoded(*data), false, std::nullopt};
    } catch (const std::exception&) {
        return {QuorvaneRecoveryJournal{}, true, std::string(kCorruptionNotice)};
    }
}

void UserDefaultsRecoveryJournalStore::save(const QuorvaneRecoveryJournal& journal) {
    defaults_->setData(storageKey_, journal.encoded());
}

}  // namespace quorvane
