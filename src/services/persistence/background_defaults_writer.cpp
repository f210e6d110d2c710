#include "services/persistence/background_defaults_writer.hpp"

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

bool refusedForRoom(const SaveOutcome& outcome) {
    return outcome.error && outcome.error->kind == DefaultsStoreError::Kind::noSpace;
}

}  // namespace

BackgroundDefaultsWriter::BackgroundDefaultsWriter(
    std::shared_ptr<DefaultsStoring> disk, std::shared_ptr<Scheduler> retryScheduler,
    std::shared_ptr<const FreeSpaceMeasuring> freeSpace)
    : disk_(std::move(disk)),
      retryScheduler_(std::move(retryScheduler)),
      freeSpace_(std::move(freeSpace)) {
    thread_ = std::thread([this] { run(); });
}

BackgroundDefaultsWriter::~BackgroundDefaultsWriter() {
    {
        std::unique_lock lock(mutex_);
        requeueFailedValues(false);
        wake_.notify_all();
        waitUntilWritten(lock, {});
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
    if (retryTask_)
        retryTask_->cancel();
    if (roomCheckTask_)
        roomCheckTask_->cancel();
}

DefaultsReadResult BackgroundDefaultsWriter::read(std::string_view key) const {
    {
        std::lock_guard lock(mutex_);
        if (auto found = pending_.find(key); found != pending_.end())
            return {found->second.bytes, std::nullopt};
        if (writing_ && writing_->first == key)
            return {writing_->second.bytes, std::nullopt};
        if (auto found = failed_.find(key); found != failed_.end())
            return takeInHeldValue(found);
    }
    return disk_->read(key);
}

// Held, the value waits for its retry while the record goes on changing:
// read, it is laid on the record as its write would merge it now, and made
// from that record from now on. A value the record's later changes have
// overtaken in every part is no change any more: dropped, it is neither
// retried nor named at the end, and its failure stops being shown.
DefaultsReadResult BackgroundDefaultsWriter::takeInHeldValue(FailedValues::iterator held) const {
    auto& value = held->second.value;
    auto read = disk_->readWithUnwrittenChange(held->first, value.bytes, value.touched);
    if (read.record.error || !read.record.data)
        return {value.bytes, std::nullopt};
    if (read.changesRecord) {
        value.bytes = *read.record.data;
        return std::move(read.record);
    }
    const std::string key = held->first;
    failed_.erase(held);
    reported_.erase(key);
    if (toldFailing_.erase(key) > 0 && writtenHandler_)
        writtenHandler_(key);
    return std::move(read.record);
}

SaveOutcome BackgroundDefaultsWriter::setData(std::string_view key, std::string_view bytes) {
    return setDataTouching(key, bytes, {});
}

SaveOutcome BackgroundDefaultsWriter::setDataTouching(std::string_view key, std::string_view bytes,
                                                      const TouchedRecordParts& touched) {
    if (!isValidDefaultsKey(key)) {
        return SaveOutcome::failed(
            {DefaultsStoreError::Kind::writeFailed, std::string(key), "invalid key"});
    }
    {
        std::lock_guard lock(mutex_);
        Value value{std::string(bytes), touched};
        // The value replaced was never written: what its actions touched
        // is still to be written, now by this one.
        if (auto found = failed_.find(key); found != failed_.end()) {
            value.touched.add(found->second.value.touched);
            failed_.erase(found);
        }
        if (auto found = pending_.find(key); found != pending_.end())
            value.touched.add(found->second.touched);
        // A new value is a new attempt: its failure is told again.
        if (auto found = reported_.find(key); found != reported_.end())
            reported_.erase(found);
        pending_.insert_or_assign(std::string(key), std::move(value));
        requeueFailedValues();
    }
    wake_.notify_one();
    return SaveOutcome::saved();
}

SaveOutcome BackgroundDefaultsWriter::keepCopyAside(std::string_view key, std::string_view bytes) {
    {
        std::unique_lock lock(mutex_);
        waitUntilWritten(lock, key);
    }
    return disk_->keepCopyAside(key, bytes);
}

bool BackgroundDefaultsWriter::keepsUndecodableAside(std::string_view key) const {
    return disk_->keepsUndecodableAside(key);
}

bool BackgroundDefaultsWriter::mayHoldOthersWrite(std::string_view key) const {
    return disk_->mayHoldOthersWrite(key);
}

bool BackgroundDefaultsWriter::removeKey(std::string_view key) {
    std::vector<std::function<void()>> due;
    {
        std::unique_lock lock(mutex_);
        if (auto found = pending_.find(key); found != pending_.end())
            pending_.erase(found);
        if (auto found = failed_.find(key); found != failed_.end())
            failed_.erase(found);
        // A write already under way would bring the key back after the removal.
        waitUntilWritten(lock, key);
        due = takeDueTriedCalls();
    }
    for (auto& call : due)
        call();
    return disk_->removeKey(key);
}

DefaultsLock BackgroundDefaultsWriter::lockExclusively() {
    // Every write takes the shared lock itself, on the writer's thread.
    // Taking it here would make the caller wait for a write under way, the
    // very wait this writer exists to spare it.
    return DefaultsLock();
}

DefaultsLock BackgroundDefaultsWriter::tryLockExclusively() {
    // Never waits, so it may be had here: it fails while a write holds it.
    return disk_->tryLockExclusively();
}

void BackgroundDefaultsWriter::setFailureHandler(FailureHandler handler) {
    std::lock_guard lock(mutex_);
    failureHandler_ = std::move(handler);
}

void BackgroundDefaultsWriter::setWrittenAfterFailureHandler(WrittenHandler handler) {
    std::lock_guard lock(mutex_);
    writtenHandler_ = std::move(handler);
}

void BackgroundDefaultsWriter::setKeptCopyHandler(KeptCopyHandler handler) {
    std::lock_guard lock(mutex_);
    keptCopyHandler_ = std::move(handler);
}

void BackgroundDefaultsWriter::setBeforeWriteHook(BeforeWriteHook hook) {
    std::lock_guard lock(mutex_);
    beforeWrite_ = std::move(hook);
}

bool BackgroundDefaultsWriter::hasUnwrittenValues() const {
    std::lock_guard lock(mutex_);
    return !pending_.empty() || writing_.has_value();
}

bool BackgroundDefaultsWriter::mayHoldUnsavedValues() const {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock())
        return true;
    return !pending_.empty() || writing_.has_value() || !failed_.empty();
}

bool BackgroundDefaultsWriter::waitForPendingWrites(Duration limit) {
    std::unique_lock lock(mutex_);
    return written_.wait_for(lock, limit,
                             [&] { return pending_.empty() && !writing_ && !roomCheckDue_; });
}

void BackgroundDefaultsWriter::whenPendingWritesTried(std::function<void()> done) {
    {
        std::lock_guard lock(mutex_);
        if (!pending_.empty() || writing_) {
            triedCalls_.push_back(std::move(done));
            return;
        }
    }
    done();
}

std::vector<std::function<void()>> BackgroundDefaultsWriter::takeDueTriedCalls() {
    if (!pending_.empty() || writing_)
        return {};
    return std::exchange(triedCalls_, {});
}

std::vector<UnwrittenSave> BackgroundDefaultsWriter::flushPendingSaves() {
    std::unique_lock lock(mutex_);
    requeueFailedValues();
    wake_.notify_one();
    waitUntilWritten(lock, {});
    std::vector<UnwrittenSave> unwritten;
    for (auto& [key, value] : failed_) {
        value.givenUp = true;
        unwritten.push_back({key, value.outcome, value.value.touched});
    }
    return unwritten;
}

void BackgroundDefaultsWriter::waitUntilWritten(std::unique_lock<std::mutex>& lock,
                                                std::string_view key) {
    written_.wait(lock, [&] {
        if (key.empty())
            return pending_.empty() && !writing_;
        return !pending_.contains(key) && !(writing_ && writing_->first == key);
    });
}

void BackgroundDefaultsWriter::requeueFailedValues(bool givenUpToo, bool refusedForRoomOnly) {
    for (auto entry = failed_.begin(); entry != failed_.end();) {
        auto& [key, failed] = *entry;
        if ((failed.givenUp && !givenUpToo) ||
            (refusedForRoomOnly && !refusedForRoom(failed.outcome))) {
            ++entry;
            continue;
        }
        // A newer value of the key is already waiting and wins, carrying
        // what the failed one touched.
        const auto [found, inserted] = pending_.try_emplace(key, failed.value);
        if (inserted)
            found->second.isRetry = true;
        else
            found->second.touched.add(failed.value.touched);
        entry = failed_.erase(entry);
    }
}

void BackgroundDefaultsWriter::recordFailure(const std::string& key, Value value,
                                             const SaveOutcome& outcome) {
    // A newer value set while this one was written is tried on its own,
    // with what this one touched.
    if (auto newer = pending_.find(key); newer != pending_.end())
        newer->second.touched.add(value.touched);
    else
        failed_.insert_or_assign(key, FailedValue{std::move(value), outcome});
    toldFailing_.insert(key);
    const auto reported = reported_.find(key);
    if (reported != reported_.end() && reported->second == outcome)
        return;
    reported_.insert_or_assign(key, outcome);
    if (failureHandler_)
        failureHandler_(key, outcome);
}

void BackgroundDefaultsWriter::failQueuedValuesForTheLock(const SaveOutcome& outcome) {
    while (!pending_.empty()) {
        auto next = pending_.extract(pending_.begin());
        recordFailure(next.key(), std::move(next.mapped()), outcome);
    }
}

void BackgroundDefaultsWriter::recordSuccess(const std::string& key, const SaveOutcome& outcome) {
    reported_.erase(key);
    // A newer value of the key still waiting may fail in turn; the failure
    // stays shown until the key is written with nothing left to write.
    if (!pending_.contains(key) && toldFailing_.erase(key) > 0 && writtenHandler_)
        writtenHandler_(key);
    // After the failure is gone: the copy's name is the news that stays.
    if (outcome.keptCopy && keptCopyHandler_)
        keptCopyHandler_(key, *outcome.keptCopy);
}

// A written value shows the disk takes writes again, so the next failure
// waits the shortest time, even if the user set values meanwhile: those are
// new ones, not retries. A failed value still waiting for its retry (in
// failed_, or queued again) keeps its doubled wait.
void BackgroundDefaultsWriter::startBackOffOverUnlessRetriesWait() {
    const bool retriesWait =
        !failed_.empty() ||
        std::ranges::any_of(pending_, [](const auto& entry) { return entry.second.isRetry; });
    if (retriesWait)
        return;
    retryDelay_ = kFirstRetryDelay;
    // A retry armed for a longer wait has nothing left to retry, and would
    // hold back the next failure's first retry.
    if (retryTask_)
        retryTask_->cancel();
}

void BackgroundDefaultsWriter::armRetry() {
    auto scheduler = retryScheduler_.lock();
    if (!scheduler || failed_.empty() || stopping_)
        return;
    if (retryTask_ && !retryTask_->isCancelled())
        return;
    retryTask_ = scheduler->postAfter(retryDelay_, [this] { retryFailedValues(); });
    retryDelay_ = std::min(retryDelay_ * 2, kLongestRetryDelay);
}

void BackgroundDefaultsWriter::retryFailedValues() {
    {
        std::lock_guard lock(mutex_);
        // Lets the next failure arm the following, longer wait.
        if (retryTask_)
            retryTask_->cancel();
        requeueFailedValues();
    }
    wake_.notify_one();
}

std::optional<std::size_t> BackgroundDefaultsWriter::roomNeeded() const {
    std::optional<std::size_t> needed;
    for (const auto& [key, failed] : failed_) {
        if (refusedForRoom(failed.outcome))
            needed = std::max(needed.value_or(0), failed.value.bytes.size());
    }
    return needed;
}

void BackgroundDefaultsWriter::armRoomCheck() {
    auto scheduler = retryScheduler_.lock();
    if (!scheduler || !freeSpace_ || !roomAtRefusal_ || stopping_ || !roomNeeded())
        return;
    if (roomCheckTask_ && !roomCheckTask_->isCancelled())
        return;
    roomCheckTask_ = scheduler->postAfter(kRoomCheckInterval, [this] { roomCheckDue(); });
}

void BackgroundDefaultsWriter::roomCheckDue() {
    {
        std::lock_guard lock(mutex_);
        // Lets the check arm the next one.
        if (roomCheckTask_)
            roomCheckTask_->cancel();
        if (stopping_)
            return;
        roomCheckDue_ = true;
    }
    wake_.notify_one();
}

// Measured off the windows' thread: statvfs() on a network home may block.
// The values go to their write only when the room grew since they were
// refused, so a disk that stays full is not written to again and again.
void BackgroundDefaultsWriter::checkRoom(std::unique_lock<std::mutex>& lock) {
    std::optional<std::uint64_t> room;
    if (const auto needed = roomNeeded()) {
        lock.unlock();
        room = freeSpace_->freeBytes();
        lock.lock();
        if (room && roomAtRefusal_ && *room > *roomAtRefusal_ && *room >= *needed)
            requeueFailedValues(true, true);
    }
    roomCheckDue_ = false;
    armRoomCheck();
    written_.notify_all();
}

void BackgroundDefaultsWriter::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty() || roomCheckDue_; });
        if (pending_.empty() && stopping_)
            return;
        if (pending_.empty()) {
            checkRoom(lock);
            continue;
        }
        auto next = pending_.extract(pending_.begin());
        writing_.emplace(std::move(next.key()), std::move(next.mapped()));
        auto hook = beforeWrite_;
        lock.unlock();

        if (hook)
            hook(writing_->first, writing_->second.bytes);
        SaveOutcome outcome = disk_->setDataTouching(writing_->first, writing_->second.bytes,
                                                     writing_->second.touched);
        // The room left right after the refusal, the mark it must pass.
        std::optional<std::uint64_t> roomLeft;
        if (refusedForRoom(outcome) && freeSpace_)
            roomLeft = freeSpace_->freeBytes();

        lock.lock();
        if (outcome.succeeded()) {
            recordSuccess(writing_->first, outcome);
            startBackOffOverUnlessRetriesWait();
        } else {
            recordFailure(writing_->first, std::move(writing_->second), outcome);
            if (outcome.error->kind == DefaultsStoreError::Kind::lockHeld)
                failQueuedValuesForTheLock(outcome);
            if (refusedForRoom(outcome))
                roomAtRefusal_ = roomLeft;
        }
        armRetry();
        armRoomCheck();
        writing_.reset();
        written_.notify_all();
        if (auto due = takeDueTriedCalls(); !due.empty()) {
            lock.unlock();
            for (auto& call : due)
                call();
            lock.lock();
        }
    }
}

}  // namespace quorvane
