#include "platform/simulated/in_memory_defaults_store.hpp"

namespace quorvane {

namespace {

DefaultsStoreError memoryError(DefaultsStoreError::Kind kind, std::string_view key) {
    return {kind, std::string(key), {}};
}

}  // namespace

DefaultsReadResult InMemoryDefaultsStore::read(std::string_view key) const {
    std::lock_guard lock(mutex_);
    if (!isValidDefaultsKey(key))
        return {};
    if (unreadable_.contains(key))
        return {std::nullopt, memoryError(DefaultsStoreError::Kind::unreadable, key)};
    auto found = values_.find(key);
    if (found == values_.end())
        return {};
    return {found->second, std::nullopt};
}

SaveOutcome InMemoryDefaultsStore::setData(std::string_view key, std::string_view bytes) {
    std::lock_guard lock(mutex_);
    if (failsWrites_ || !isValidDefaultsKey(key))
        return SaveOutcome::failed(memoryError(DefaultsStoreError::Kind::writeFailed, key));
    if (unreadable_.contains(key))
        return SaveOutcome::failed(memoryError(DefaultsStoreError::Kind::unreadable, key));
    values_.insert_or_assign(std::string(key), std::string(bytes));
    ++writeCount_;
    return SaveOutcome::saved();
}

SaveOutcome InMemoryDefaultsStore::keepCopyAside(std::string_view key, std::string_view bytes) {
    std::lock_guard lock(mutex_);
    if (failsWrites_ || !isValidDefaultsKey(key))
        return SaveOutcome::failed(memoryError(DefaultsStoreError::Kind::writeFailed, key));
    const std::string name = std::string(key) + ".json.unreadable-" + std::to_string(++copyCount_);
    values_.insert_or_assign(name, std::string(bytes));
    return {std::nullopt, name};
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

DefaultsLock InMemoryDefaultsStore::lockExclusively() {
    std::lock_guard lock(mutex_);
    ++lockDepth_;
    return DefaultsLock([this] {
        std::lock_guard released(mutex_);
        --lockDepth_;
    });
}

void InMemoryDefaultsStore::setFailsWrites(bool fails) {
    std::lock_guard lock(mutex_);
    failsWrites_ = fails;
}

void InMemoryDefaultsStore::setUnreadable(std::string_view key) {
    std::lock_guard lock(mutex_);
    unreadable_.emplace(key);
}

void InMemoryDefaultsStore::clearUnreadable(std::string_view key) {
    std::lock_guard lock(mutex_);
    if (auto found = unreadable_.find(key); found != unreadable_.end())
        unreadable_.erase(found);
}

std::size_t InMemoryDefaultsStore::writeCount() const {
    std::lock_guard lock(mutex_);
    return writeCount_;
}

int InMemoryDefaultsStore::lockDepth() const {
    std::lock_guard lock(mutex_);
    return lockDepth_;
}

std::map<std::string, std::string> InMemoryDefaultsStore::contents() const {
    std::lock_guard lock(mutex_);
    return {values_.begin(), values_.end()};
}

}  // namespace quorvane
