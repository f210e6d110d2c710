// The background writer of the records: the newest bytes win, nothing set
// before a flush or the writer's end is lost, a failed write is reported, and
// a process killed while writing leaves the last written record whole.
#include "services/persistence/background_defaults_writer.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_free_space_meter.hpp"
#include "services/persistence/defaults_store.hpp"
#include "support/child_process.hpp"
#include "support/files_refusing_copies.hpp"
#include "support/mount_rights.hpp"
#include "support/other_lock_holder.hpp"
#include "support/temporary_folder.hpp"
#include "support/unprivileged_user.hpp"

namespace quorvane {
namespace {

using testing::TemporaryFolder;

namespace fs = std::filesystem;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";
const std::string kJournalKey = std::string(kDefaultsDomain) + ".journal.v1";

// Waits (for the writer's thread, never for virtual time) until `done`.
bool eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// Holds the writer's first write in its hook until released, so a test can
// act while a write is under way.
class FirstWriteHeld {
  public:
    explicit FirstWriteHeld(BackgroundDefaultsWriter& writer) : writer_(writer) {
        writer_.setBeforeWriteHook([this](const std::string&, const std::string&) {
            if (!holding_.exchange(false))
                return;
            started_.set_value();
            released_.wait();
        });
    }
    // The writer outlives this: later writes must not reach a gone hook.
    ~FirstWriteHeld() { writer_.setBeforeWriteHook({}); }
    FirstWriteHeld(const FirstWriteHeld&) = delete;
    FirstWriteHeld& operator=(const FirstWriteHeld&) = delete;

    void waitUntilStarted() { started_.get_future().wait(); }
    void release() { release_.set_value(); }

  private:
    BackgroundDefaultsWriter& writer_;
    std::promise<void> started_;
    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
    std::atomic<bool> holding_ = true;
};

TEST(BackgroundDefaultsWriter, ABurstOfChangesToOneKeyEndsWithTheNewestBytesInTwoWrites) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    std::promise<void> started;
    std::promise<void> release;
    auto released = release.get_future().share();
    std::vector<std::string> written;
    writer.setBeforeWriteHook([&](const std::string&, const std::string& bytes) {
        written.push_back(bytes);
        if (bytes == "1") {
            started.set_value();
            released.wait();
        }
    });

    // The first value is being written (held in the hook) while the rest
    // arrive; reads see the newest at once.
    writer.setData(kKey, "1");
    started.get_future().wait();
    for (const char* value : {"2", "3", "4"})
        EXPECT_TRUE(writer.setData(kKey, value).succeeded());
    EXPECT_EQ(writer.read(kKey).data, "4");
    EXPECT_EQ(disk->dataForKey(kKey), std::nullopt);

    release.set_value();
    writer.flushPendingSaves();
    EXPECT_EQ(disk->dataForKey(kKey), "4");
    EXPECT_EQ(written, (std::vector<std::string>{"1", "4"}));
}

TEST(BackgroundDefaultsWriter, EverythingSetBeforeTheWriterEndsIsOnDisk) {
    TemporaryFolder folder;
    auto disk = std::make_shared<FileDefaultsStore>(folder.path());
    {
        BackgroundDefaultsWriter writer(disk);
        for (int round = 0; round < 20; ++round) {
            writer.setData(kKey, "preferences " + std::to_string(round));
            writer.setData(kJournalKey, "journal " + std::to_string(round));
        }
    }
    EXPECT_EQ(FileDefaultsStore(folder.path()).dataForKey(kKey), "preferences 19");
    EXPECT_EQ(FileDefaultsStore(folder.path()).dataForKey(kJournalKey), "journal 19");
}

// The writer starts on a value at once: with virtual time standing still the
// value still lands.
TEST(BackgroundDefaultsWriter, AValueReachesTheDiskWithoutAFlushOrATimer) {
    TemporaryFolder folder;
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder.path()), scheduler);
    writer.setData(kKey, "shown on the screen");
    FileDefaultsStore reader(folder.path());
    eventually([&] { return reader.dataForKey(kKey) == "shown on the screen"; });
    EXPECT_EQ(reader.dataForKey(kKey), "shown on the screen");
}

TEST(BackgroundDefaultsWriter, AFailedWriteIsReportedAfterSetDataReturned) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    std::vector<std::pair<std::string, SaveOutcome>> reports;
    writer.setFailureHandler([&](const std::string& key, const SaveOutcome& outcome) {
        reports.emplace_back(key, outcome);
    });
    disk->setFailsWrites(true);
    EXPECT_FALSE(writer.mayHoldUnsavedValues());

    EXPECT_TRUE(writer.setData(kKey, "pending").succeeded());
    const auto unwritten = writer.flushPendingSaves();
    // Held for its next try, it is still unsaved.
    EXPECT_TRUE(writer.mayHoldUnsavedValues());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, kKey);
    EXPECT_FALSE(reports[0].second.succeeded());
    ASSERT_EQ(unwritten.size(), 1u);
    EXPECT_EQ(unwritten[0], (UnwrittenSave{kKey, reports[0].second, {}}));
    // A value that failed is kept for the next try, and reads still see it.
    EXPECT_EQ(writer.read(kKey).data, "pending");
    EXPECT_EQ(disk->dataForKey(kKey), std::nullopt);

    disk->setFailsWrites(false);
    writer.setData(kKey, "kept");
    EXPECT_TRUE(writer.flushPendingSaves().empty());
    EXPECT_EQ(disk->dataForKey(kKey), "kept");
    EXPECT_FALSE(writer.mayHoldUnsavedValues());
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(writer.setData("../escape", "x").succeeded());
}

// What the way out names as lost: a value the flush could not write carries
// the parts the user's actions set in it, those of a value it replaced too.
TEST(BackgroundDefaultsWriter, AnUnwrittenValueCarriesThePartsItsActionsSet) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    disk->setFailsWrites(true);
    TouchedRecordParts textSize;
    textSize.touch("textSize");
    TouchedRecordParts colour;
    colour.touch("displayAdjustments", "display-a");
    writer.setDataTouching(kKey, "first", textSize);
    writer.setDataTouching(kKey, "second", colour);

    const auto unwritten = writer.flushPendingSaves();
    ASSERT_EQ(unwritten.size(), 1u);
    auto both = textSize;
    both.add(colour);
    EXPECT_EQ(unwritten[0].touched, both);
}

// The bounded wait an answer makes for the change it answers: it ends when
// the value is written, gives up at its limit while the write is held, and
// does not wait for a failed value's retry.
TEST(BackgroundDefaultsWriter, AWaitForPendingWritesEndsWithTheWriteOrAtItsLimit) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    EXPECT_TRUE(writer.waitForPendingWrites(Duration::zero()));

    FirstWriteHeld held(writer);
    writer.setData(kKey, "held");
    held.waitUntilStarted();
    EXPECT_FALSE(writer.waitForPendingWrites(std::chrono::milliseconds(20)));
    EXPECT_EQ(disk->dataForKey(kKey), std::nullopt);

    auto waited = std::async(std::launch::async,
                             [&] { return writer.waitForPendingWrites(std::chrono::seconds(30)); });
    held.release();
    EXPECT_TRUE(waited.get());
    EXPECT_EQ(disk->dataForKey(kKey), "held");

    disk->setFailsWrites(true);
    writer.setData(kKey, "refused");
    EXPECT_TRUE(writer.waitForPendingWrites(std::chrono::seconds(30)));
    EXPECT_EQ(disk->dataForKey(kKey), "held");
    EXPECT_EQ(writer.read(kKey).data, "refused");
}

// The same news without a waiting thread, as a handed-over URL is answered:
// told at once when nothing waits, after the writes under way and queued
// behind them, and once a write has failed (its retry is not waited for).
TEST(BackgroundDefaultsWriter, TheCallForPendingWritesComesAtOnceAfterTheWritesOrAfterAFailure) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    bool toldAtOnce = false;
    writer.whenPendingWritesTried([&] { toldAtOnce = true; });
    EXPECT_TRUE(toldAtOnce);

    FirstWriteHeld held(writer);
    writer.setData(kKey, "held");
    held.waitUntilStarted();
    writer.setData(kJournalKey, "queued");
    std::promise<std::pair<std::optional<std::string>, std::optional<std::string>>> written;
    writer.whenPendingWritesTried([&] {
        written.set_value({disk->dataForKey(kKey), disk->dataForKey(kJournalKey)});
    });
    auto seen = written.get_future();
    EXPECT_EQ(seen.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    held.release();
    ASSERT_EQ(seen.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(seen.get(), std::make_pair(std::optional<std::string>("held"),
                                         std::optional<std::string>("queued")));

    disk->setFailsWrites(true);
    writer.setData(kKey, "refused");
    std::promise<void> failed;
    writer.whenPendingWritesTried([&] { failed.set_value(); });
    EXPECT_EQ(failed.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(disk->dataForKey(kKey), "held");
    EXPECT_EQ(writer.read(kKey).data, "refused");
}

TEST(BackgroundDefaultsWriter, RemovingAKeyDropsItsPendingValue) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    writer.setData(kKey, "old");
    writer.flushPendingSaves();
    writer.setData(kKey, "newer");
    EXPECT_TRUE(writer.removeKey(kKey));
    writer.flushPendingSaves();
    EXPECT_EQ(disk->dataForKey(kKey), std::nullopt);
    EXPECT_EQ(writer.read(kKey).data, std::nullopt);
}

// A process killed by the system while the writer works keeps the last
// record that was written, whole; only the value still being written is
// lost. Killed at the writer (before the write starts) and in the middle of
// the write (just before the new file replaces the old one).
TEST(BackgroundDefaultsWriter, AKillDuringAWriteLeavesTheLastWrittenRecordWhole) {
    TemporaryFolder folder;
    const std::string large(64 * 1024, 'x');
    ASSERT_TRUE(testing::killedInChild([&] {
        BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder.path()));
        writer.setBeforeWriteHook([](const std::string&, const std::string& bytes) {
            if (bytes == "second")
                ::raise(SIGKILL);
        });
        writer.setData(kKey, "first");
        writer.flushPendingSaves();
        writer.setData(kKey, "second");
        writer.flushPendingSaves();
    }));
    FileDefaultsStore after(folder.path());
    EXPECT_EQ(after.dataForKey(kKey), "first");

    ASSERT_TRUE(testing::killedInChild([&] {
        auto disk = std::make_shared<FileDefaultsStore>(folder.path());
        disk->setBeforeRenameHook([&](const fs::path&) {
            if (disk->dataForKey(kKey) == "written")
                ::raise(SIGKILL);
            return true;
        });
        BackgroundDefaultsWriter writer(disk);
        writer.setData(kKey, "written");
        writer.flushPendingSaves();
        writer.setData(kKey, large);
        writer.flushPendingSaves();
    }));
    EXPECT_EQ(after.dataForKey(kKey), "written");

    // The store still takes writes after the killed one.
    BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder.path()));
    writer.setData(kKey, "next");
    writer.flushPendingSaves();
    EXPECT_EQ(after.dataForKey(kKey), "next");
}

// Whether a retry took the failed values up since `before` tries: the retry
// queues them on the test's thread before advance() returns, and from then on
// they are queued, being written, or tried (counted before the write). So
// this never waits for the writer's thread, and a "not yet" is not a guess.
bool retriedSince(const BackgroundDefaultsWriter& writer, const std::atomic<int>& tries,
                  int before) {
    return writer.hasUnwrittenValues() || tries != before;
}

// True when the failed values are retried `wait` from now, not before. The
// retry may still be under way; a flush waits for it.
bool retriedAfter(ManualScheduler& scheduler, const BackgroundDefaultsWriter& writer,
                  const std::atomic<int>& tries, Duration wait) {
    const int before = tries;
    scheduler.advance(wait - seconds(0.1));
    if (retriedSince(writer, tries, before))
        return false;
    scheduler.advance(seconds(0.1));
    return retriedSince(writer, tries, before);
}

// A failed value waits for a retry: the next write of any key takes it
// along, and so does the back-off, whose waits double.
TEST(BackgroundDefaultsWriter, AFailedValueIsWrittenAgainWithTheNextWriteAndAfterABackOff) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(disk, scheduler);
    std::atomic<int> tries = 0;
    writer.setBeforeWriteHook([&](const std::string&, const std::string&) { ++tries; });
    std::vector<std::string> reports;
    writer.setFailureHandler(
        [&](const std::string& key, const SaveOutcome&) { reports.push_back(key); });

    disk->setFailsWrites(true);
    writer.setData(kKey, "night");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    // The first wait: nothing is tried before it ends.
    disk->setFailsWrites(false);
    EXPECT_TRUE(
        retriedAfter(*scheduler, writer, tries, BackgroundDefaultsWriter::kFirstRetryDelay));
    EXPECT_TRUE(writer.flushPendingSaves().empty());
    EXPECT_EQ(disk->dataForKey(kKey), "night");

    // Still failing: each retry waits twice as long as the one before, and
    // the same failure is told once. (A flush that finds the retry done
    // tries once more, arming nothing.)
    disk->setFailsWrites(true);
    writer.setData(kKey, "day");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    EXPECT_TRUE(
        retriedAfter(*scheduler, writer, tries, BackgroundDefaultsWriter::kFirstRetryDelay));
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    disk->setFailsWrites(false);
    EXPECT_TRUE(
        retriedAfter(*scheduler, writer, tries, 2 * BackgroundDefaultsWriter::kFirstRetryDelay));
    EXPECT_TRUE(writer.flushPendingSaves().empty());
    EXPECT_EQ(disk->dataForKey(kKey), "day");
    EXPECT_EQ(reports, (std::vector<std::string>{kKey, kKey}));

    // The next write of another key takes a failed value along.
    disk->setFailsWrites(true);
    writer.setData(kKey, "evening");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    disk->setFailsWrites(false);
    writer.setData(kJournalKey, "entry");
    EXPECT_TRUE(writer.flushPendingSaves().empty());
    EXPECT_EQ(disk->dataForKey(kKey), "evening");
    EXPECT_EQ(disk->dataForKey(kJournalKey), "entry");
}

// A write that succeeds starts the back-off over even when the user's next
// value arrived while it was under way: that value, failing, is retried
// after 2 s, not after the wait the written value had reached.
TEST(BackgroundDefaultsWriter, AValueSetDuringAWriteThatSucceedsFailsAndIsRetriedAfterTwoSeconds) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(disk, scheduler);
    std::atomic<int> tries = 0;
    std::atomic<bool> holdNextWrite = false;
    std::promise<void> started;
    std::promise<void> release;
    auto released = release.get_future().share();
    writer.setBeforeWriteHook([&](const std::string&, const std::string&) {
        ++tries;
        if (holdNextWrite.exchange(false)) {
            started.set_value();
            released.wait();
        }
    });

    disk->setFailsWrites(true);
    writer.setData(kJournalKey, "entry");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    disk->setFailsWrites(false);
    disk->setUnreadable(kKey);
    // The retry of "entry" is held in its write, which will succeed, while
    // the user sets a value that will fail.
    holdNextWrite = true;
    scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
    started.get_future().wait();
    writer.setData(kKey, "night");
    release.set_value();

    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    EXPECT_EQ(disk->dataForKey(kJournalKey), "entry");
    EXPECT_TRUE(
        retriedAfter(*scheduler, writer, tries, BackgroundDefaultsWriter::kFirstRetryDelay));
}

// A failed value still waiting for its retry keeps its doubling waits while
// other keys are written.
TEST(BackgroundDefaultsWriter, AFailedValueKeepsItsBackOffWhileOtherKeysAreWritten) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(disk, scheduler);
    std::atomic<int> tries = 0;
    writer.setBeforeWriteHook([&](const std::string&, const std::string&) { ++tries; });

    disk->setUnreadable(kKey);
    writer.setData(kKey, "night");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    ASSERT_TRUE(
        retriedAfter(*scheduler, writer, tries, BackgroundDefaultsWriter::kFirstRetryDelay));
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    // Written first, while the failed value is queued again beside it.
    writer.setData(kJournalKey, "entry");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    ASSERT_EQ(disk->dataForKey(kJournalKey), "entry");
    for (const int wait : {4, 8}) {
        ASSERT_TRUE(retriedAfter(*scheduler, writer, tries, std::chrono::seconds(wait)))
            << wait << " s";
        ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    }
}

// A value that keeps failing is tried again after 2 s, then after waits that
// double up to a minute. A new value that fails alike is told again, and
// after a write that succeeds the next failure waits 2 s again.
TEST(BackgroundDefaultsWriter, TheBackOffDoublesToAMinuteAndStartsOverAfterAWrite) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(disk, scheduler);
    std::atomic<int> tries = 0;
    writer.setBeforeWriteHook([&](const std::string&, const std::string&) { ++tries; });
    std::atomic<int> reports = 0;
    writer.setFailureHandler([&](const std::string&, const SaveOutcome&) { ++reports; });
    // True when the next try comes `wait` after the last failed one, not
    // before, and fails again.
    const auto triedAgainAfter = [&](Duration wait) {
        const int before = tries;
        scheduler->advance(wait - seconds(0.1));
        // A try started early is pending, under way, or counted.
        if (writer.hasUnwrittenValues() || tries != before)
            return false;
        scheduler->advance(seconds(0.1));
        return eventually([&] { return tries == before + 1 && scheduler->pendingCount() == 1; });
    };

    disk->setFailsWrites(true);
    writer.setData(kKey, "night");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    for (const int wait : {2, 4, 8, 16, 32, 60, 60})
        ASSERT_TRUE(triedAgainAfter(std::chrono::seconds(wait))) << wait << " s";
    EXPECT_EQ(reports, 1);
    writer.setData(kKey, "day");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    EXPECT_EQ(reports, 2);

    disk->setFailsWrites(false);
    scheduler->advance(BackgroundDefaultsWriter::kLongestRetryDelay);
    ASSERT_TRUE(writer.flushPendingSaves().empty());
    ASSERT_EQ(disk->dataForKey(kKey), "day");
    disk->setFailsWrites(true);
    writer.setData(kKey, "evening");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    EXPECT_TRUE(triedAgainAfter(BackgroundDefaultsWriter::kFirstRetryDelay));
}

// A write the user makes while a long retry (16 s) is armed, and that
// succeeds, cancels that retry and starts the back-off over: the next
// failure is tried again after 2 s, not after the wait armed before.
TEST(BackgroundDefaultsWriter, AFreshWriteWhileALongRetryIsArmedStartsTheBackOffOver) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(disk, scheduler);
    std::atomic<int> tries = 0;
    writer.setBeforeWriteHook([&](const std::string&, const std::string&) { ++tries; });

    disk->setFailsWrites(true);
    writer.setData(kKey, "night");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    for (const int wait : {2, 4, 8}) {
        ASSERT_TRUE(retriedAfter(*scheduler, writer, tries, std::chrono::seconds(wait)))
            << wait << " s";
        ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    }
    // The 16 s retry is armed; 10 s of it have passed when the disk takes
    // writes again and the user's next value is written at once.
    ASSERT_EQ(scheduler->pendingCount(), 1u);
    scheduler->advance(seconds(10));
    ASSERT_FALSE(writer.hasUnwrittenValues());
    disk->setFailsWrites(false);
    writer.setData(kKey, "day");
    ASSERT_TRUE(writer.flushPendingSaves().empty());
    ASSERT_EQ(disk->dataForKey(kKey), "day");
    EXPECT_EQ(scheduler->pendingCount(), 0u);

    disk->setFailsWrites(true);
    writer.setData(kKey, "evening");
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    EXPECT_TRUE(
        retriedAfter(*scheduler, writer, tries, BackgroundDefaultsWriter::kFirstRetryDelay));
    ASSERT_EQ(writer.flushPendingSaves().size(), 1u);
    // The back-off goes on from there: 4 s, not the old 32 s.
    EXPECT_TRUE(retriedAfter(*scheduler, writer, tries, std::chrono::seconds(4)));
}

// Another process keeps the settings lock (stopped, hung): the first write
// gives up after the lock wait, and the values queued behind it fail with it
// instead of waiting as long again each, so a flush (the way out) ends
// within one wait and names every value. They are held, and the back-off
// writes them once the lock is free.
TEST(BackgroundDefaultsWriter, AHeldLockFailsTheQueuedValuesWithinOneWaitAndTheRetryWritesThem) {
    TemporaryFolder folder;
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    ASSERT_TRUE(files->setData(kKey, "old").succeeded());
    auto lockClock = std::make_shared<ManualScheduler>();
    files->limitLockWait(FileDefaultsStore::kSharedLockWait, lockClock, lockClock);
    auto other = std::make_unique<testing::OtherLockHolder>(folder.path() / ".lock");
    ASSERT_TRUE(other->held());
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(files, scheduler);
    std::promise<void> started;
    std::promise<void> release;
    auto released = release.get_future().share();
    std::atomic<bool> first = true;
    writer.setBeforeWriteHook([&](const std::string&, const std::string&) {
        if (!first.exchange(false))
            return;
        started.set_value();
        released.wait();
    });

    std::promise<void> allFailed;
    int failures = 0;
    writer.setFailureHandler([&](const std::string&, const SaveOutcome&) {
        if (++failures == 3)
            allFailed.set_value();
    });

    // Three keys queue up behind the first write, and all three have failed
    // before the way out flushes: the flush tries them once more, and one
    // wait for the lock is all it may take.
    writer.setData(kKey, "night");
    started.get_future().wait();
    const std::string kThirdKey = std::string(kDefaultsDomain) + ".third.v1";
    writer.setData(kJournalKey, "entry");
    writer.setData(kThirdKey, "third");
    release.set_value();
    allFailed.get_future().wait();
    const auto start = lockClock->monotonicNow();
    const auto unwritten = writer.flushPendingSaves();
    EXPECT_LE(lockClock->monotonicNow() - start,
              FileDefaultsStore::kSharedLockWait + FileDefaultsStore::kLockRetryInterval);
    ASSERT_EQ(unwritten.size(), 3u);
    for (const auto& save : unwritten) {
        ASSERT_TRUE(save.outcome.error) << save.key;
        EXPECT_EQ(save.outcome.error->kind, DefaultsStoreError::Kind::lockHeld) << save.key;
    }
    EXPECT_EQ(FileDefaultsStore(folder.path()).dataForKey(kKey), "old");

    other.reset();
    scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
    EXPECT_TRUE(writer.flushPendingSaves().empty());
    FileDefaultsStore after(folder.path());
    EXPECT_EQ(after.dataForKey(kKey), "night");
    EXPECT_EQ(after.dataForKey(kJournalKey), "entry");
    EXPECT_EQ(after.dataForKey(kThirdKey), "third");
}

// The way out names what its flush could not write and ends: the writer's
// own end does not wait for the held lock once more for those values.
TEST(BackgroundDefaultsWriter, ValuesAFlushNamedAsUnwrittenAreNotTriedAgainAtTheEnd) {
    TemporaryFolder folder;
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    auto lockClock = std::make_shared<ManualScheduler>();
    files->limitLockWait(FileDefaultsStore::kSharedLockWait, lockClock, lockClock);
    testing::OtherLockHolder other(folder.path() / ".lock");
    ASSERT_TRUE(other.held());
    auto writer = std::make_unique<BackgroundDefaultsWriter>(files);
    writer->setData(kKey, "night");
    ASSERT_EQ(writer->flushPendingSaves().size(), 1u);

    const auto start = lockClock->monotonicNow();
    writer.reset();
    EXPECT_EQ(lockClock->monotonicNow(), start);
}

// A change made while the settings folder is read-only is on disk once the
// folder takes writes again: at the flush of the way out. Run as an
// unprivileged user, since root writes into any folder.
TEST(BackgroundDefaultsWriter, AChangeRefusedByAReadOnlyFolderIsWrittenAtTheFlush) {
    TemporaryFolder folder;
    const auto settings = folder.path() / "quorvane";
    ASSERT_TRUE(FileDefaultsStore(settings).setData(kKey, "old").succeeded());
    constexpr uid_t kNobody = testing::kNobodyUser;
    if (testing::filesGoToNobody()) {
        ASSERT_EQ(::chown(settings.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown((settings / (kKey + ".json")).c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown((settings / ".lock").c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(::chmod(settings.c_str(), 0500), 0);

    const auto output = testing::outputOfChild(
        [&] {
            auto disk = std::make_shared<FileDefaultsStore>(settings);
            BackgroundDefaultsWriter writer(disk);
            writer.setData(kKey, "new");
            const auto refused = writer.flushPendingSaves();
            std::string result =
                refused.size() == 1 && refused[0].outcome.error &&
                        refused[0].outcome.error->kind == DefaultsStoreError::Kind::notWritable
                    ? "refused"
                    : "not refused";
            result.append(" ").append(disk->dataForKey(kKey).value_or("-"));
            ::chmod(settings.c_str(), 0700);
            result += writer.flushPendingSaves().empty() ? " written " : " unwritten ";
            return result + disk->dataForKey(kKey).value_or("-");
        },
        true);
    EXPECT_EQ(output, "refused old written new");
}

// A full disk: the change is written by the back-off once space returns.
TEST(BackgroundDefaultsWriter, AChangeRefusedByAFullDiskIsWrittenOnceSpaceReturns) {
    TemporaryFolder folder;
    const auto small = folder.path() / "small";
    fs::create_directories(small);
    if (const auto refused = testing::MountRights::mountTmpfs(small, "64k"))
        GTEST_SKIP() << "no small file system can be mounted here: " << *refused;
    struct Unmount {
        fs::path path;
        ~Unmount() { testing::MountRights::unmount(path); }
    } unmount{small};
    auto disk = std::make_shared<FileDefaultsStore>(small / "quorvane");
    ASSERT_TRUE(disk->setData(kKey, "old").succeeded());
    {
        std::ofstream filler(small / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()))
            ;
    }
    auto scheduler = std::make_shared<ManualScheduler>();
    BackgroundDefaultsWriter writer(disk, scheduler);
    const std::string large(16 * 1024, 'n');
    writer.setData(kKey, large);
    const auto refused = writer.flushPendingSaves();
    ASSERT_EQ(refused.size(), 1u);
    ASSERT_TRUE(refused[0].outcome.error);
    EXPECT_EQ(refused[0].outcome.error->kind, DefaultsStoreError::Kind::noSpace);
    EXPECT_EQ(disk->dataForKey(kKey), "old");

    fs::remove(small / "filler");
    scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
    EXPECT_TRUE(eventually([&] { return disk->dataForKey(kKey) == large; }));
}

// A writer whose disk refuses every write (for want of room unless told
// otherwise) while `full` holds, with the room measured as the test sets it.
struct RoomWatch {
    TemporaryFolder folder;
    std::shared_ptr<std::atomic<bool>> full = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<FileDefaultsStore> disk = testing::filesOnAFullDisk(folder.path(), full);
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<SimulatedFreeSpaceMeter> room = std::make_shared<SimulatedFreeSpaceMeter>(100);
    BackgroundDefaultsWriter writer{disk, scheduler, room};
    std::atomic<int> tries = 0;
    const std::string value = std::string(1000, 'n');

    explicit RoomWatch(int refusal = ENOSPC) {
        if (refusal != ENOSPC) {
            disk->setWriteCall([this, refusal](const fs::path&, int fd, std::string_view bytes) {
                errno = refusal;
                return !*full && writeAllBytes(fd, bytes);
            });
        }
        writer.setBeforeWriteHook([this](const std::string&, const std::string&) { ++tries; });
        writer.setData(kKey, value);
        EXPECT_TRUE(writer.waitForPendingWrites(std::chrono::seconds(10)));
    }
    // Virtual time on by `duration` in quarter seconds, the writer's thread
    // done with each step's work before the next; true once `value` is on
    // disk, at the end of the first step that wrote it.
    bool stepUntilWritten(Duration duration) {
        for (Duration passed{}; passed < duration; passed += seconds(0.25)) {
            scheduler->advance(seconds(0.25));
            EXPECT_TRUE(writer.waitForPendingWrites(std::chrono::seconds(10)));
            if (disk->dataForKey(kKey) == value)
                return true;
        }
        return false;
    }
};

// Room back after 4, 10 or 65 s full lands the held change within two
// seconds. While full, the room is measured once a second (and after each
// refusal), never on the scheduler's thread, and only the back-off tries
// the write (at 2, 6, 14, 30, 62 s).
TEST(BackgroundDefaultsWriter, AChangeRefusedForWantOfRoomLandsWithinTwoSecondsOfRoomReturning) {
    for (const auto& [fullFor, triesWhileFull] : {std::pair{4, 2}, {10, 3}, {65, 6}}) {
        SCOPED_TRACE(std::to_string(fullFor) + " s full");
        RoomWatch watch;
        ASSERT_FALSE(watch.stepUntilWritten(std::chrono::seconds(fullFor)));
        EXPECT_EQ(watch.tries, triesWhileFull);
        EXPECT_LE(watch.room->reads(), fullFor + triesWhileFull);
        EXPECT_FALSE(watch.room->askedOn(std::this_thread::get_id()));

        watch.full->store(false);
        watch.room->setFreeBytes(1 << 20);
        EXPECT_TRUE(watch.stepUntilWritten(std::chrono::seconds(2)));
    }
}

// No try beyond the back-off's (at 6 and 14 s) for room short of the change,
// nor for room the disk still refuses (a used-up quota is not in it) until it
// grows again; nor, however it grows, for a write refused otherwise.
TEST(BackgroundDefaultsWriter, OnlyRoomThatGrewPastTheChangeBringsATry) {
    for (const int refusal : {ENOSPC, EIO}) {
        RoomWatch watch(refusal);
        ASSERT_FALSE(watch.stepUntilWritten(std::chrono::seconds(6)));
        ASSERT_EQ(watch.tries, 3);
        watch.room->setFreeBytes(500);
        ASSERT_FALSE(watch.stepUntilWritten(std::chrono::seconds(1)));
        EXPECT_EQ(watch.tries, 3);
        watch.room->setFreeBytes(1 << 20);
        ASSERT_FALSE(watch.stepUntilWritten(seconds(6.75)));
        EXPECT_EQ(watch.tries, refusal == ENOSPC ? 4 : 3) << refusal;
    }
}

}  // namespace
}  // namespace quorvane
