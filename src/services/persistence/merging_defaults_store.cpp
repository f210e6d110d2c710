#include "services/persistence/merging_defaults_store.hpp"

#include <utility>

namespace quorvane {

namespace {

std::optional<std::string_view> optionalView(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    return std::string_view(*text);
}

// Whether `read` is the very write `base` was: equal bytes from another
// writer are another write.
bool isWriteOf(const DefaultsReadResult& read, const std::optional<std::string>& bytes,
               const std::optional<std::string>& writeID) {
    return read.data == bytes && read.writeID == writeID;
}

// Whether `touched` names a request later than any the record `stored`
// tells of for that part. Its write would name it in the record's stamp, so
// it is still to be written where the record holds its values already: a
// held save whose stamp alone found no room is no less a change.
bool asksLaterThan(const TouchedRecordParts& touched, const DefaultsReadResult& stored) {
    const Date written = stored.writtenAt.value_or(Date::min());
    if (const auto all = touched.allAskedAt();
        all && *all > stored.requested.allAskedAt().value_or(written))
        return true;
    for (const auto& [field, entry] : touched.parts()) {
        if (*touched.askedAt(field, entry) >
            stored.requested.askedAt(field, entry).value_or(written))
            return true;
    }
    return false;
}

}  // namespace

MergingDefaultsStore::MergingDefaultsStore(std::shared_ptr<DefaultsStoring> disk, Merges merges)
    : disk_(std::move(disk)), merges_(std::move(merges)) {}

DefaultsReadResult MergingDefaultsStore::read(std::string_view key) const {
    if (!merges_.contains(key))
        return disk_->read(key);
    return readAsBase(key);
}

DefaultsReadResult MergingDefaultsStore::readAsBase(std::string_view key) const {
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
        rememberBase(key, {result.data, result.writeID});
    dateOthersValues(key, result);
    return result;
}

UnwrittenChangeRead MergingDefaultsStore::readWithUnwrittenChange(
    std::string_view key, std::string_view bytes, const TouchedRecordParts& touched) {
    const auto merge = merges_.find(key);
    if (merge == merges_.end())
        return DefaultsStoring::readWithUnwrittenChange(key, bytes, touched);
    // The change is laid on the base it was made from, before this read
    // moves the base to what the file holds now.
    const auto base = baseOf(key);
    auto stored = readAsBase(key);
    if (stored.error)
        return {std::move(stored), true};
    const auto laid = mergedWithFile(base, merge->second, bytes, stored, touched);
    // Both in the record's own coding: the file's record as a merge writes
    // it, whatever spacing or order its writer used.
    const auto storedRecord =
        merge->second(laid, laid, optionalView(stored.data), {}, std::nullopt, {});
    const bool changesRecord =
        !storedRecord || *storedRecord != laid || asksLaterThan(touched, stored);
    // The requests behind the file's record stay named: a reader weighs
    // them as it would on the record alone.
    return {{laid, std::nullopt, stored.writtenAt, std::nullopt, false, stored.requested},
            changesRecord};
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
    // A lock file replaced while held let another writer in between the
    // read and the write: the merge is made again from the record it left.
    std::optional<std::string> keptCopy;
    for (int taking = 1;; ++taking) {
        auto outcome = mergeAndWrite(key, merge->second, bytes, touched);
        keptCopy = outcome.keptCopy ? outcome.keptCopy : keptCopy;
        if (!outcome.error || outcome.error->kind != DefaultsStoreError::Kind::lockFileReplaced ||
            taking == DefaultsLock::kTakingsPerSave) {
            outcome.keptCopy = std::move(keptCopy);
            return outcome;
        }
    }
}

SaveOutcome MergingDefaultsStore::mergeAndWrite(std::string_view key, RecordMerge::BytesMerge merge,
                                                std::string_view bytes,
                                                const TouchedRecordParts& touched) {
    // Read first whatever is known: a record that cannot be read now is the
    // user's to sort out, and replacing it would lose what it holds.
    auto current = disk_->read(key);
    if (current.error)
        return SaveOutcome::failed(std::move(*current.error));
    {
        std::lock_guard guard(mutex_);
        dateOthersValues(key, current);
    }
    const auto base = baseOf(key);
    auto kept = keepUndecodableAside(key, merge, current.data);
    if (!kept.succeeded())
        return kept;
    auto written = mergedWithFile(base, merge, bytes, current, touched);
    // The stamp names our requests, so other writers weigh them too.
    auto outcome = disk_->setDataTouching(key, written, touched);
    if (outcome.succeeded()) {
        std::lock_guard guard(mutex_);
        // The caller's next save is made from `bytes`: that is the write
        // it knows only when nothing was merged in.
        const auto baseWrite = written == bytes ? outcome.writeID : std::nullopt;
        rememberBase(key, {std::string(bytes), baseWrite});
        ++baseChanges_;
        keptAside_.erase(std::string(key));
        ownWrites_.insert_or_assign(std::string(key),
                                    OwnWrite{std::move(written), outcome.writeID, current.writtenAt,
                                             std::move(current.requested)});
    }
    outcome.keptCopy = std::move(kept.keptCopy);
    return outcome;
}

std::optional<MergingDefaultsStore::Base> MergingDefaultsStore::baseOf(std::string_view key) const {
    std::lock_guard guard(mutex_);
    const auto found = bases_.find(key);
    if (found == bases_.end())
        return std::nullopt;
    return found->second;
}

bool MergingDefaultsStore::isOwnWrite(std::string_view key, const DefaultsReadResult& read) const {
    const auto own = ownWrites_.find(key);
    return own != ownWrites_.end() && isOwn(read, own->second);
}

bool MergingDefaultsStore::isOwn(const DefaultsReadResult& read, const OwnWrite& own) {
    // Only a disk that names no writes leaves the bytes to tell.
    if (own.writeID)
        return read.writeID == own.writeID;
    return !read.writeID && read.data == own.bytes;
}

bool MergingDefaultsStore::KnownWrites::include(const DefaultsReadResult& read) const {
    return (base && isWriteOf(read, base->bytes, base->writeID)) || (own && isOwn(read, *own));
}

MergingDefaultsStore::KnownWrites MergingDefaultsStore::knownWrites(std::string_view key) const {
    KnownWrites known;
    if (const auto base = bases_.find(key); base != bases_.end())
        known.base = base->second;
    if (const auto own = ownWrites_.find(key); own != ownWrites_.end())
        known.own = own->second;
    return known;
}

void MergingDefaultsStore::dateOthersValues(std::string_view key, DefaultsReadResult& read) const {
    if (!isOwnWrite(key, read))
        return;
    const auto& own = ownWrites_.find(key)->second;
    read.writtenAt = own.othersWrittenAt;
    read.requested = own.othersRequested;
}

bool MergingDefaultsStore::mayHoldOthersWrite(std::string_view key) const {
    if (!merges_.contains(key))
        return true;
    // A save of ours may land while the file is read: the record read is
    // then the one the save replaced, known before the read, not after.
    KnownWrites before;
    {
        std::lock_guard guard(mutex_);
        before = knownWrites(key);
    }
    const auto read = disk_->read(key);
    if (read.error)
        return true;
    if (read.writtenHere || before.include(read))
        return false;
    std::lock_guard guard(mutex_);
    return !knownWrites(key).include(read);
}

SaveOutcome MergingDefaultsStore::keepUndecodableAside(std::string_view key,
                                                       RecordMerge::BytesMerge merge,
                                                       const std::optional<std::string>& stored) {
    // A merge takes only records of its kind that decode: one that does not
    // merge with itself is not one.
    if (!stored || merge(std::nullopt, *stored, *stored, {}, std::nullopt, {}))
        return SaveOutcome::saved();
    {
        std::lock_guard guard(mutex_);
        const auto found = keptAside_.find(key);
        if (found != keptAside_.end() && found->second == *stored)
            return SaveOutcome::saved();
    }
    return keepCopyAside(key, *stored);
}

std::string MergingDefaultsStore::mergedWithFile(const std::optional<Base>& base,
                                                 RecordMerge::BytesMerge merge,
                                                 std::string_view bytes,
                                                 const DefaultsReadResult& stored,
                                                 const TouchedRecordParts& touched) {
    // Never read: nothing is known of what the caller started from.
    if (!base || isWriteOf(stored, base->bytes, base->writeID))
        return std::string(bytes);
    // A record removed since the base counts as the empty one, removed when
    // its folder last changed.
    return merge(base->bytes, bytes, optionalView(stored.data), touched, stored.writtenAt,
                 stored.requested)
        .value_or(std::string(bytes));
}

void MergingDefaultsStore::rememberBase(std::string_view key, Base base) const {
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
        rememberBase(key, {});
        ++baseChanges_;
    }
    return removed;
}

DefaultsLock MergingDefaultsStore::lockExclusively() {
    return disk_->lockExclusively();
}

DefaultsLock MergingDefaultsStore::tryLockExclusively() {
    return disk_->tryLockExclusively();
}

}  // namespace quorvane
