#include "platform/simulated/in_memory_defaults_store.hpp"

namespace quorvane {

std::optional<std::string> InMemoryDefaultsStore::dataForKey(std::string_view key) const {
    std::lock_guard lock(mutex_);
    if (!isValidDefaultsKey(key))
        return std::nullopt;
    auto found = values_.find(key);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

bool InMemoryDefaultsStore::setData(std::string_view key, std::string_view bytes) {
    std::lock_guard lock(mutex_);
    if (failsWrites_ || !isValidDefaultsKey(key))
        return false;
    values_.insert_or_assign(std::string(key), std::string(bytes));
    ++writeCount_;
    return true;
}

bool InMemoryDefaultsStore::removeKey(std::string_view key) {
    std::lock_guard lock(mutex_);
    if (failsWrites_ || !isValidDefaultsKey(key))
        return false;
    auto found = values_.find(key);
    if (found != values_.end())
        values_.erase(found);
    return true;
}

void InMemoryDefaultsStore::setFailsWrites(bool fails) {
    std::lock_guard lock(mutex_);
    failsWrites_ = fails;
}

std::size_t InMemoryDefaultsStore::writeCount() const {
    std::lock_guard lock(mutex_);
    return writeCount_;
}

std::map<std::string, std::string> InMemoryDefaultsStore::contents() const {
    std::lock_guard lock(mutex_);
    return {values_.begin(), values_.end()};
}

}  // namespace quorvane
