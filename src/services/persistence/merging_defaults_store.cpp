#include "services/persistence/merging_defaults_store.hpp"

#include <utility>

namespace quorvane {

MergingDefaultsStore::MergingDefaultsStore(std::shared_ptr<DefaultsStoring> disk, Merges merges)
    : disk_(std::move(disk)), merges_(std::move(merges)) {}

DefaultsReadResult MergingDefaultsStore::read(std::string_view key) const {
    if (!merges_.contains(key))
        return disk_->read(key);
    const auto lock = disk_->lockExclusively();
    auto result = disk_->read(key);
    // A record that cannot be read tells nothing about what the caller holds.
    if (!result.error)
        rememberBase(key, result.data);
    return result;
}

SaveOutcome MergingDefaultsStore::setData(std::string_view key, std::string_view bytes) {
    return setDataTouching(key, bytes, {});
}

SaveOutcome MergingDefaultsStore::setDataTouching(std::string_view key, std::string_view bytes,
                                                  const TouchedRecordParts& touched) {
    const auto merge = merges_.find(key);
    if (merge == merges_.end())
        return disk_->setData(key, bytes);
    const auto lock = disk_->lockExclusively();
    auto merged = mergedWithFile(key, merge->second, bytes, touched);
    if (auto* error = std::get_if<DefaultsStoreError>(&merged))
        return SaveOutcome::failed(std::move(*error));
    auto outcome = disk_->setData(key, std::get<std::string>(merged));
    if (outcome.succeeded())
        rememberBase(key, std::string(bytes));
    return outcome;
}

std::variant<std::string, DefaultsStoreError> MergingDefaultsStore::mergedWithFile(
    std::string_view key, RecordMerge::BytesMerge merge, std::string_view bytes,
    const TouchedRecordParts& touched) const {
    // Read first whatever is known: a record that cannot be read now is the
    // user's to sort out, and replacing it would lose what it holds.
    auto current = disk_->read(key);
    if (current.error)
        return std::move(*current.error);
    std::optional<std::string> base;
    {
        std::lock_guard guard(mutex_);
        const auto found = bases_.find(key);
        // Never read: nothing is known of what the caller started from.
        if (found == bases_.end())
            return std::string(bytes);
        base = found->second;
    }
    if (!current.data || current.data == base)
        return std::string(bytes);
    return merge(base, bytes, *current.data, touched).value_or(std::string(bytes));
}

void MergingDefaultsStore::rememberBase(std::string_view key,
                                        std::optional<std::string> base) const {
    std::lock_guard guard(mutex_);
    bases_.insert_or_assign(std::string(key), std::move(base));
}

SaveOutcome MergingDefaultsStore::keepCopyAside(std::string_view key, std::string_view bytes) {
    return disk_->keepCopyAside(key, bytes);
}

bool MergingDefaultsStore::removeKey(std::string_view key) {
    const auto lock = disk_->lockExclusively();
    const bool removed = disk_->removeKey(key);
    if (removed && merges_.contains(key))
        rememberBase(key, std::nullopt);
    return removed;
}

DefaultsLock MergingDefaultsStore::lockExclusively() {
    return disk_->lockExclusively();
}

}  // namespace quorvane
