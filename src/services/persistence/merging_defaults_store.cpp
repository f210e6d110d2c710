#include "services/persistence/merging_defaults_store.hpp"

#include <utility>

namespace quorvane {

MergingDefaultsStore::MergingDefaultsStore(std::shared_ptr<DefaultsStoring> disk, Merges merges)
    : disk_(std::move(disk)), merges_(std::move(merges)) {}

DefaultsReadResult MergingDefaultsStore::read(std::string_view key) const {
    if (!merges_.contains(key))
        return disk_->read(key);
    std::uint64_t changesBefore = 0;
    {
        std::lock_guard guard(mutex_);
        changesBefore = baseChanges_;
    }
    auto result = disk_->read(key);
    std::lock_guard guard(mutex_);
    // A record that cannot be read tells nothing about what the caller
    // holds; one read across a save of ours may be the file before it.
    if (!result.error && baseChanges_ == changesBefore)
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
    if (lock.failure())
        return SaveOutcome::failed(*lock.failure());
    // Read first whatever is known: a record that cannot be read now is the
    // user's to sort out, and replacing it would lose what it holds.
    auto current = disk_->read(key);
    if (current.error)
        return SaveOutcome::failed(std::move(*current.error));
    auto kept = keepUndecodableAside(key, merge->second, current.data);
    if (!kept.succeeded())
        return kept;
    auto outcome =
        disk_->setData(key, mergedWithFile(key, merge->second, bytes, current.data, touched));
    if (outcome.succeeded()) {
        std::lock_guard guard(mutex_);
        rememberBase(key, std::string(bytes));
        ++baseChanges_;
        keptAside_.erase(std::string(key));
    }
    outcome.keptCopy = std::move(kept.keptCopy);
    return outcome;
}

SaveOutcome MergingDefaultsStore::keepUndecodableAside(std::string_view key,
                                                       RecordMerge::BytesMerge merge,
                                                       const std::optional<std::string>& stored) {
    // A merge takes only records of its kind that decode: one that does not
    // merge with itself is not one.
    if (!stored || merge(std::nullopt, *stored, *stored, {}))
        return SaveOutcome::saved();
    {
        std::lock_guard guard(mutex_);
        const auto found = keptAside_.find(key);
        if (found != keptAside_.end() && found->second == *stored)
            return SaveOutcome::saved();
    }
    return keepCopyAside(key, *stored);
}

std::string MergingDefaultsStore::mergedWithFile(std::string_view key,
                                                 RecordMerge::BytesMerge merge,
                                                 std::string_view bytes,
                                                 const std::optional<std::string>& stored,
                                                 const TouchedRecordParts& touched) const {
    std::optional<std::string> base;
    {
        std::lock_guard guard(mutex_);
        const auto found = bases_.find(key);
        // Never read: nothing is known of what the caller started from.
        if (found == bases_.end())
            return std::string(bytes);
        base = found->second;
    }
    if (!stored || stored == base)
        return std::string(bytes);
    return merge(base, bytes, *stored, touched).value_or(std::string(bytes));
}

void MergingDefaultsStore::rememberBase(std::string_view key,
                                        std::optional<std::string> base) const {
    bases_.insert_or_assign(std::string(key), std::move(base));
}

SaveOutcome MergingDefaultsStore::keepCopyAside(std::string_view key, std::string_view bytes) {
    auto outcome = disk_->keepCopyAside(key, bytes);
    if (outcome.succeeded() && merges_.contains(key)) {
        std::lock_guard guard(mutex_);
        keptAside_.insert_or_assign(std::string(key), std::string(bytes));
    }
    return outcome;
}

bool MergingDefaultsStore::keepsUndecodableAside(std::string_view key) const {
    return merges_.contains(key);
}

bool MergingDefaultsStore::removeKey(std::string_view key) {
    const auto lock = disk_->lockExclusively();
    if (lock.failure())
        return false;
    const bool removed = disk_->removeKey(key);
    if (removed && merges_.contains(key)) {
        std::lock_guard guard(mutex_);
        rememberBase(key, std::nullopt);
        ++baseChanges_;
    }
    return removed;
}

DefaultsLock MergingDefaultsStore::lockExclusively() {
    return disk_->lockExclusively();
}

}  // namespace quorvane
