#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/interfaces/defaults_storing.hpp"
#include "platform/interfaces/deferred_save_reporting.hpp"
#include "platform/interfaces/free_space_measuring.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The user's defaults with the durable writes taken off the caller's thread:
// setData() keeps the bytes as the key's newest value and returns at once,
// and one writer thread writes each key's newest bytes to the underlying
// store as soon as it can (a burst of changes to one key costs one or two
// writes, not one per change). Reads see the newest bytes, written or not.
//
// Nothing waits long: the writer starts on a value the moment it is set, so
// a crash loses only the values still being written. flushPendingSaves() and
// the destructor write everything still pending before they return; the
// application's quit goes through them.
//
// A failed write (a full disk, a read-only folder) is handed to the failure
// handler, the caller's setData() having already returned, and its bytes stay
// pending: they are written again with the next value set, after a back-off
// on the retry scheduler (2 s, doubling up to a minute), and at the flush.
// Reads keep seeing them. A newer value of the key replaces them. Once a key
// whose failure was told is written, the written handler is told. A write
// that succeeds starts the back-off over at 2 s, whatever the user set
// meanwhile, unless failed values still wait for their retry: their waits go
// on doubling.
//
// A write refused for want of room (a full disk, a used-up quota) is not left
// to the back-off alone: while such a value is held, the room is measured on
// the writer's thread once a second, and the held values are tried at once
// when it has grown since the refusal to at least their size. A disk that
// stays full costs one measurement a second and no write; one freed lands
// the values within about a second.
//
// A write that could not take the settings lock in time (another process
// holds it) fails the values queued behind it at once, with the same
// failure: each would wait as long again for the same lock, and the flush of
// the way out must end within one wait. They are retried with the back-off.
// Values a flush returned as unwritten are not tried again at the end: the
// way out has named them already.
//
// A value set with the parts user actions touched (setDataTouching) carries
// them to its write; a newer value that replaces an unwritten one carries
// that one's parts too, so none is lost by a burst or a failed write.
//
// A failed value held for its retry is not what the record holds: reading
// the key then gives the stored record with the held value laid on it (as
// its write would merge it), and the held value is made from that record
// from now on. Where another process's later requests have overtaken every
// part of it, it is dropped there: nothing is retried or named at the end.
class BackgroundDefaultsWriter final : public DefaultsStoring, public DeferredSaveReporting {
  public:
    // Called on the writer's thread with the bytes it is about to write;
    // lets tests stop the process at that point.
    using BeforeWriteHook = std::function<void(const std::string& key, const std::string& bytes)>;

    static constexpr Duration kFirstRetryDelay = std::chrono::seconds(2);
    static constexpr Duration kLongestRetryDelay = std::chrono::seconds(60);
    static constexpr Duration kRoomCheckInterval = std::chrono::seconds(1);

    // Without a retry scheduler a failed value waits for the next write or
    // the flush. The scheduler's thread must be the one that ends the writer.
    // Without `freeSpace` a value refused for want of room waits like any.
    explicit BackgroundDefaultsWriter(
        std::shared_ptr<DefaultsStoring> disk, std::shared_ptr<Scheduler> retryScheduler = nullptr,
        std::shared_ptr<const FreeSpaceMeasuring> freeSpace = nullptr);
    ~BackgroundDefaultsWriter() override;
    BackgroundDefaultsWriter(const BackgroundDefaultsWriter&) = delete;
    BackgroundDefaultsWriter& operator=(const BackgroundDefaultsWriter&) = delete;

    DefaultsReadResult read(std::string_view key) const override;
    // Refuses an invalid key at once; anything else is written later.
    SaveOutcome setData(std::string_view key, std::string_view bytes) override;
    SaveOutcome setDataTouching(std::string_view key, std::string_view bytes,
                                const TouchedRecordParts& touched) override;
    // Rare (a broken record is kept aside once): done on the caller's thread
    // after the key's pending write.
    SaveOutcome keepCopyAside(std::string_view key, std::string_view bytes) override;
    bool keepsUndecodableAside(std::string_view key) const override;
    bool removeKey(std::string_view key) override;
    // Of the record on disk, values not written yet aside: they are this
    // process's own.
    bool mayHoldOthersWrite(std::string_view key) const override;
    // Holds nothing: see the definition.
    DefaultsLock lockExclusively() override;
    DefaultsLock tryLockExclusively() override;

    // The handler runs on the writer's thread and must only hand the report
    // on (post it); it must not call back into the writer. A value that
    // keeps failing the same way is reported once, not at every retry.
    void setFailureHandler(FailureHandler handler) override;
    void setWrittenAfterFailureHandler(WrittenHandler handler) override;
    void setKeptCopyHandler(KeptCopyHandler handler) override;
    void setBeforeWriteHook(BeforeWriteHook hook);
    bool hasUnwrittenValues() const override;
    bool mayHoldUnsavedValues() const override;
    // A measurement of the room that is due or under way counts as a write:
    // it may send held values to theirs.
    bool waitForPendingWrites(Duration limit) override;
    void whenPendingWritesTried(std::function<void()> done) override;

    // Returns once every value set before the call, and every failed one, has
    // been tried once more; what still failed is returned.
    std::vector<UnwrittenSave> flushPendingSaves() override;

  private:
    struct Value {
        std::string bytes;
        TouchedRecordParts touched;
        // A failed value queued again for its retry, not one the user set.
        bool isRetry = false;
    };
    struct FailedValue {
        Value value;
        SaveOutcome outcome;
        // Returned by a flush as unwritten: the end does not try it again.
        bool givenUp = false;
    };

    using FailedValues = std::map<std::string, FailedValue, std::less<>>;

    void run();
    // Holds mutex_: the key's held value, taken in with the stored record.
    DefaultsReadResult takeInHeldValue(FailedValues::iterator held) const;
    // Both hold mutex_.
    void requeueFailedValues(bool givenUpToo = true, bool refusedForRoomOnly = false);
    void recordFailure(const std::string& key, Value value, const SaveOutcome& outcome);
    void recordSuccess(const std::string& key, const SaveOutcome& outcome);
    // A write failed for want of the lock: so do the values queued behind it.
    void failQueuedValuesForTheLock(const SaveOutcome& outcome);
    void startBackOffOverUnlessRetriesWait();
    void armRetry();
    void retryFailedValues();
    // Hold mutex_: the size of the largest value held for want of room (none
    // when no value is), and the next measurement of the room armed.
    std::optional<std::size_t> roomNeeded() const;
    void armRoomCheck();
    // On the scheduler's thread: hands the measurement to the writer's.
    void roomCheckDue();
    // On the writer's thread, holding `lock` but for the measurement.
    void checkRoom(std::unique_lock<std::mutex>& lock);
    // Waits (holding `lock`) until nothing is pending or being written for
    // `key`, or for any key when `key` is empty.
    void waitUntilWritten(std::unique_lock<std::mutex>& lock, std::string_view key);
    // Holds mutex_: the calls of whenPendingWritesTried() that are due now
    // that nothing waits for or is in its write, taken out to be made once
    // the mutex is let go.
    std::vector<std::function<void()>> takeDueTriedCalls();

    std::shared_ptr<DefaultsStoring> disk_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable written_;
    std::map<std::string, Value, std::less<>> pending_;
    // The value the writer is writing now, still readable until it is done.
    std::optional<std::pair<std::string, Value>> writing_;
    // Values whose last write failed, waiting for the next try. Reading the
    // key takes the record in under them (see takeInHeldValue()).
    mutable FailedValues failed_;
    // The failure last reported per key, so a retry that fails alike is quiet.
    mutable std::map<std::string, SaveOutcome, std::less<>> reported_;
    // Keys whose failure was told and that have not been written since.
    mutable std::set<std::string, std::less<>> toldFailing_;
    // Not owned: the scheduler may end first, and then retries wait for the
    // next write or the flush.
    std::weak_ptr<Scheduler> retryScheduler_;
    Duration retryDelay_ = kFirstRetryDelay;
    std::optional<TaskHandle> retryTask_;
    std::shared_ptr<const FreeSpaceMeasuring> freeSpace_;
    // The room measured after the last write refused for want of it; held
    // values are tried again only once there is more.
    std::optional<std::uint64_t> roomAtRefusal_;
    std::optional<TaskHandle> roomCheckTask_;
    bool roomCheckDue_ = false;
    FailureHandler failureHandler_;
    WrittenHandler writtenHandler_;
    KeptCopyHandler keptCopyHandler_;
    std::vector<std::function<void()>> triedCalls_;
    BeforeWriteHook beforeWrite_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace quorvane
