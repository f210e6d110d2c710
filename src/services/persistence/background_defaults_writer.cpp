#include "services/persistence/background_defaults_writer.hpp"

#include <utility>

namespace quorvane {

BackgroundDefaultsWriter::BackgroundDefaultsWriter(std::shared_ptr<DefaultsStoring> disk)
    : disk_(std::move(disk)) {
    thread_ = std::thread([this] { run(); });
}

BackgroundDefaultsWriter::~BackgroundDefaultsWriter() {
    {
        std::unique_lock lock(mutex_);
        waitUntilWritten(lock, {});
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

DefaultsReadResult BackgroundDefaultsWriter::read(std::string_view key) const {
    {
        std::lock_guard lock(mutex_);
        if (auto found = pending_.find(key); found != pending_.end())
            return {found->second, std::nullopt};
        if (writing_ && writing_->first == key)
            return {writing_->second, std::nullopt};
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
        pending_.insert_or_assign(std::string(key), std::string(bytes));
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

void BackgroundDefaultsWriter::flush() {
    std::unique_lock lock(mutex_);
    waitUntilWritten(lock, {});
}

void BackgroundDefaultsWriter::waitUntilWritten(std::unique_lock<std::mutex>& lock,
                                                std::string_view key) {
    written_.wait(lock, [&] {
        if (key.empty())
            return pending_.empty() && !writing_;
        return !pending_.contains(key) && !(writing_ && writing_->first == key);
    });
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
        if (!outcome.succeeded() && failureHandler_)
            failureHandler_(writing_->first, outcome);
        writing_.reset();
        written_.notify_all();
    }
}

}  // namespace quorvane
