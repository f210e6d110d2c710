#include "services/persistence/background_defaults_writer.hpp"

#include <algorithm>
#include <utility>

namespace quorvane {

BackgroundDefaultsWriter::BackgroundDefaultsWriter(std::shared_ptr<DefaultsStoring> disk,
                                                   std::shared_ptr<Scheduler> retryScheduler)
    : disk_(std::move(disk)), retryScheduler_(std::move(retryScheduler)) {
    thread_ = std::thread([this] { run(); });
}

BackgroundDefaultsWriter::~BackgroundDefaultsWriter() {
    {
        std::unique_lock lock(mutex_);
        requeueFailedValues();
        wake_.notify_all();
        waitUntilWritten(lock, {});
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
    if (retryTask_)
        retryTask_->cancel();
}

DefaultsReadResult BackgroundDefaultsWriter::read(std::string_view key) const {
    {
        std::lock_guard lock(mutex_);
        if (auto found = pending_.find(key); found != pending_.end())
            return {found->second, std::nullopt};
        if (writing_ && writing_->first == key)
            return {writing_->second, std::nullopt};
        if (auto found = failed_.find(key); found != failed_.end())
            return {found->second.bytes, std::nullopt};
    }
    return disk_->read(key);
}

SaveOutcome BackgroundDefaultsWriter::setData(std::string_view key, std::string_view bytes) {
    if (!isValidDefaultsKey(key)) {
        return SaveOutcome::failed(
            {DefaultsStoreError::Kind::writeFailed, std::string(key), "invalid key"});
    }
    {
        std::lock_guard lock(mutex_);
        // A new value is a new attempt: its failure is told again.
        if (auto found = failed_.find(key); found != failed_.end())
            failed_.erase(found);
        if (auto found = reported_.find(key); found != reported_.end())
            reported_.erase(found);
        pending_.insert_or_assign(std::string(key), std::string(bytes));
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

bool BackgroundDefaultsWriter::removeKey(std::string_view key) {
    {
        std::unique_lock lock(mutex_);
        if (auto found = pending_.find(key); found != pending_.end())
            pending_.erase(found);
        if (auto found = failed_.find(key); found != failed_.end())
            failed_.erase(found);
        // A write already under way would bring the key back after the removal.
        waitUntilWritten(lock, key);
    }
    return disk_->removeKey(key);
}

DefaultsLock BackgroundDefaultsWriter::lockExclusively() {
    // Every write takes the shared lock itself, on the writer's thread.
    // Taking it here would make the caller wait for a write under way, the
    // very wait this writer exists to spare it.
    return DefaultsLock();
}

void BackgroundDefaultsWriter::setFailureHandler(FailureHandler handler) {
    std::lock_guard lock(mutex_);
    failureHandler_ = std::move(handler);
}

void BackgroundDefaultsWriter::setBeforeWriteHook(BeforeWriteHook hook) {
    std::lock_guard lock(mutex_);
    beforeWrite_ = std::move(hook);
}

bool BackgroundDefaultsWriter::hasUnwrittenValues() const {
    std::lock_guard lock(mutex_);
    return !pending_.empty() || writing_.has_value();
}

std::vector<UnwrittenSave> BackgroundDefaultsWriter::flushPendingSaves() {
    std::unique_lock lock(mutex_);
    requeueFailedValues();
    wake_.notify_one();
    waitUntilWritten(lock, {});
    std::vector<UnwrittenSave> unwritten;
    for (const auto& [key, value] : failed_)
        unwritten.push_back({key, value.outcome});
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

void BackgroundDefaultsWriter::requeueFailedValues() {
    for (auto& [key, value] : failed_) {
        // A newer value of the key is already waiting and wins.
        pending_.try_emplace(key, std::move(value.bytes));
    }
    failed_.clear();
}

void BackgroundDefaultsWriter::recordFailure(const std::string& key, std::string bytes,
                                             const SaveOutcome& outcome) {
    // A newer value set while this one was written is tried on its own.
    if (!pending_.contains(key))
        failed_.insert_or_assign(key, FailedValue{std::move(bytes), outcome});
    const auto reported = reported_.find(key);
    if (reported != reported_.end() && reported->second == outcome)
        return;
    reported_.insert_or_assign(key, outcome);
    if (failureHandler_)
        failureHandler_(key, outcome);
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

void BackgroundDefaultsWriter::run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty())
            return;
        auto next = pending_.extract(pending_.begin());
        writing_.emplace(std::move(next.key()), std::move(next.mapped()));
        auto hook = beforeWrite_;
        lock.unlock();

        if (hook)
            hook(writing_->first, writing_->second);
        SaveOutcome outcome = disk_->setData(writing_->first, writing_->second);

        lock.lock();
        if (outcome.succeeded()) {
            reported_.erase(writing_->first);
        } else {
            recordFailure(writing_->first, std::move(writing_->second), outcome);
        }
        if (failed_.empty() && pending_.empty())
            retryDelay_ = kFirstRetryDelay;
        armRetry();
        writing_.reset();
        written_.notify_all();
    }
}

}  // namespace quorvane
