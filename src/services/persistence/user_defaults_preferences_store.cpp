#include "services/persistence/user_defaults_preferences_store.hpp"

#include <exception>
#include <utility>

namespace quorvane {

std::string UserDefaultsPreferencesStore::standardStorageKey() {
    return std::string(kDefaultsDomain) + ".preferences.v1";
}

UserDefaultsPreferencesStore::UserDefaultsPreferencesStore(
    std::shared_ptr<DefaultsStoring> defaults, std::string storageKey)
    : defaults_(std::move(defaults)), storageKey_(std::move(storageKey)) {}

PreferencesLoadResult UserDefaultsPreferencesStore::loadResult() const {
    const auto data = defaults_->dataForKey(storageKey_);
    if (!data)
        return {QuorvanePreferences::defaults(), false, std::nullopt};
    try {
        return {QuorvanePreferences::decoded(*data), false, std::nullopt};
    } catch (const std::exception&) {
        return {QuorvanePreferences::defaults(), true, std::string(kCorruptionNotice)};
    }
}

void UserDefaultsPreferencesStore::save(const QuorvanePreferences& preferences) {
    const auto bytes = preferences.encoded();
    if (!bytes)
        return;
    defaults_->setData(storageKey_, *bytes);
}

}  // namespace quorvane
