// The application's side of the shared records on the real file system: a
// save made from an older read puts only its own changes on the record the
// file holds, and one made from the current record writes its bytes as
// they are.
#include "services/persistence/merging_defaults_store.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fstream>
#include <functional>
#include <future>
#include <tuple>

#include "app/composition/linux_display_store_factory.hpp"
#include "platform/simulated/manual_boot_clock.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "support/child_process.hpp"
#include "support/files_refusing_copies.hpp"
#include "support/fuse_ext4_image.hpp"
#include "support/other_lock_holder.hpp"
#include "support/small_disk.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

using testing::SmallDisk;
using testing::TemporaryFolder;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";
const std::string kOtherKey = std::string(kDefaultsDomain) + ".other.v1";

// A request of display `display`'s adjustment, asked at `at`.
TouchedRecordParts adjusting(const std::string& display, Date at = TouchedRecordParts::kAskedLast) {
    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, display, at);
    return touched;
}

std::shared_ptr<ManualScheduler> clockAt(Date now) {
    auto clock = std::make_shared<ManualScheduler>();
    clock->setWallNow(now);
    return clock;
}

std::string record(const std::map<std::string, double>& brightnessByDisplay) {
    QuorvanePreferences preferences;
    for (const auto& [identity, value] : brightnessByDisplay) {
        auto adjustment = ColorAdjustment::neutral();
        adjustment.softwareBrightness = value;
        preferences.displayAdjustments[identity] = adjustment;
    }
    return *preferences.encoded();
}

class MergingDefaultsStoreTest : public ::testing::Test {
  protected:
    TemporaryFolder folder;
    // Another process's handle on the folder.
    std::shared_ptr<FileDefaultsStore> other = std::make_shared<FileDefaultsStore>(folder.path());
    std::shared_ptr<FileDefaultsStore> files = std::make_shared<FileDefaultsStore>(folder.path());
    MergingDefaultsStore store{files, {{kKey, RecordMerge::preferencesBytes}}};

    void TearDown() override {
        if (fuse)
            testing::MountRights::unmount(folder.path());
        if (!image.empty())
            std::filesystem::remove_all(image);
    }
    // The folder on an ext4 image through FUSE, which exchanges no names
    // (renameat2 answers EINVAL): nothing, or why not. The image lies
    // outside the folder, which the mount covers.
    std::optional<std::string> mountThroughFuse() {
        image = folder.path().string() + ".image";
        std::filesystem::create_directories(image);
        auto refused = fuse.emplace(image).mount(folder.path());
        if (refused)
            fuse.reset();
        return refused;
    }
    // The lock file removed, replaced, made a link or moved aside while a
    // save holds it, before its last look at the lock and after it.
    void takeTheLockFileFromUnderASave();
    // Once this store's save is about to land its record: the lock file
    // removed, `otherStore` (over `other`) saves `bytes` in another thread
    // and stalls just before its own record lands until `go` is ready; its
    // outcome goes to `saved`.
    void letInAStalledSave(MergingDefaultsStore& otherStore, std::string bytes,
                           TouchedRecordParts touched, std::future<void> go,
                           std::future<SaveOutcome>& saved) {
        auto reached = std::make_shared<std::promise<void>>();
        other->setBeforeInstallHook([reached, go = go.share(), once = false](const auto&) mutable {
            if (!std::exchange(once, true)) {
                reached->set_value();
                go.wait();
            }
            return true;
        });
        files->setBeforeInstallHook(
            [&, reached, bytes, touched, once = false](const auto&) mutable {
                if (std::exchange(once, true))
                    return true;
                std::filesystem::remove(folder.path() / ".lock");
                saved = std::async(std::launch::async, [&otherStore, bytes, touched] {
                    return otherStore.setDataTouching(kKey, bytes, touched);
                });
                reached->get_future().wait();
                return true;
            });
    }
    // Another process's record {a 1, b 0.3} saved once the lock file was
    // taken from under this store's save of {a 0.6, b 1}, which is killed
    // once its exchange displaced that record: where it waits.
    std::filesystem::path killASaveBeforeItsPutBack();
    static std::string fileText(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path image;
    std::optional<testing::FuseExt4Image> fuse;
};

TEST_F(MergingDefaultsStoreTest, ASaveAfterAnotherProcessSavedKeepsBothChanges) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 0.3}})).succeeded());

    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.6}, {"b", 1.0}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.6}, {"b", 0.3}}));

    // The next save is made from what this side saved, not from the merge
    // it never read: the other side's value still stands.
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.5}, {"b", 1.0}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
    // Once read, the merged record is the base, and a save from it is
    // written as it stands.
    ASSERT_EQ(store.read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.5}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}}));
}

// A save the disk refused (full) leaves the base where it was: its retry
// puts this side's change on what the other side saved meanwhile, instead
// of taking the refused bytes for what the file held.
TEST_F(MergingDefaultsStoreTest, ARetriedSaveMergesAgainstTheRecordReadBeforeItFailed) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    files->setBeforeRenameHook([](const auto&) { return false; });
    ASSERT_FALSE(store.setData(kKey, record({{"a", 0.6}, {"b", 1.0}})).succeeded());
    files->setBeforeRenameHook({});
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 0.3}})).succeeded());

    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.6}, {"b", 1.0}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.6}, {"b", 0.3}}));
}

TEST_F(MergingDefaultsStoreTest, ARecordCreatedElsewhereAfterAnEmptyReadIsKept) {
    EXPECT_FALSE(store.read(kKey).data);
    ASSERT_TRUE(other->setData(kKey, record({{"b", 0.2}})).succeeded());
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.7}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.7}, {"b", 0.2}}));
}

TEST_F(MergingDefaultsStoreTest, WhatIsNoRecordAndKeysWithoutAMergeAreWrittenAsTheyStand) {
    ASSERT_TRUE(store.read(kKey).error == std::nullopt);
    ASSERT_TRUE(other->setData(kKey, "not json").succeeded());
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.7}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.7}}));

    ASSERT_TRUE(store.setData(kOtherKey, "one").succeeded());
    ASSERT_TRUE(other->setData(kOtherKey, "two").succeeded());
    ASSERT_TRUE(store.setData(kOtherKey, "three").succeeded());
    EXPECT_EQ(other->read(kOtherKey).data, "three");
}

// The record turns unreadable (a failing disk) between two saves: the save
// writes nothing and says why, and once it reads again the next save still
// merges this side's changes onto the other side's.
TEST(MergingDefaultsStoreReadFailureTest, ARecordThatFailsToReadAtTheSaveIsNotWrittenOver) {
    TemporaryFolder folder;
    auto other = std::make_shared<FileDefaultsStore>(folder.path());
    auto failing = std::make_shared<std::atomic<bool>>(false);
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    files->setReadCall(
        [failing](const std::filesystem::path&, int fd, void* buffer, std::size_t size) -> ssize_t {
            if (*failing) {
                errno = EIO;
                return -1;
            }
            return ::read(fd, buffer, size);
        });
    MergingDefaultsStore store{files, {{kKey, RecordMerge::preferencesBytes}}};
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 0.3}})).succeeded());

    failing->store(true);
    const auto refused = store.setData(kKey, record({{"a", 0.6}, {"b", 1.0}}));
    ASSERT_FALSE(refused.succeeded());
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::unreadable);
    EXPECT_EQ(other->read(kKey).data, record({{"a", 1.0}, {"b", 0.3}}));

    failing->store(false);
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.6}, {"b", 1.0}})).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.6}, {"b", 0.3}}));
}

TEST_F(MergingDefaultsStoreTest, APartTheSaveTouchedWinsOverTheOtherSidesChange) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 0.5}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(other->setData(kKey, record({{"a", 0.9}, {"b", 0.3}})).succeeded());

    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a");
    ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 0.5}, {"b", 1.0}}), touched).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
}

// A read that overlaps a save of the same store reads the record from before
// that save; taken as the base, it would make the save's own values look
// like changes still to make, and the next save would put them back over
// the other process's later change of them.
TEST(MergingDefaultsStoreOverlapTest, AReadOverlappingASaveIsNotTakenAsTheBase) {
    TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    auto files = std::make_shared<FileDefaultsStore>(folder.path());
    std::promise<void> readStarted;
    std::promise<void> release;
    auto released = release.get_future().share();
    std::atomic<bool> holdNextRead = false;
    files->setReadCall([&](const std::filesystem::path&, int fd, void* buffer, std::size_t size) {
        const ssize_t count = ::read(fd, buffer, size);
        if (count > 0 && holdNextRead.exchange(false)) {
            readStarted.set_value();
            released.wait();
        }
        return count;
    });
    MergingDefaultsStore store{files, {{kKey, RecordMerge::preferencesBytes}}};
    ASSERT_TRUE(other.setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);

    holdNextRead = true;
    auto overlapping = std::async(std::launch::async, [&] { return store.read(kKey); });
    readStarted.get_future().wait();
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.5}, {"b", 1.0}})).succeeded());
    release.set_value();
    EXPECT_EQ(overlapping.get().data, record({{"a", 1.0}, {"b", 1.0}}));

    ASSERT_TRUE(other.setData(kKey, record({{"a", 0.3}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.5}, {"b", 0.7}})).succeeded());
    EXPECT_EQ(other.read(kKey).data, record({{"a", 0.3}, {"b", 0.7}}));
}

// The other process's value came into the file with this store's own save,
// which merged it in: that value is as old as the other process's record,
// not as this save. A user action asked for between the two is the later
// request and wins over it.
TEST_F(MergingDefaultsStoreTest, ValuesAnOwnSaveMergedInKeepTheDateOfTheirRecord) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    const auto now = std::chrono::system_clock::now();
    auto clock = std::make_shared<ManualScheduler>();
    clock->setWallNow(now - std::chrono::hours(1));
    other->setWallClock(clock);
    ASSERT_TRUE(other->setData(kKey, record({{"a", 0.2}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.setData(kKey, record({{"a", 1.0}, {"b", 0.6}})).succeeded());
    ASSERT_EQ(other->read(kKey).data, record({{"a", 0.2}, {"b", 0.6}}));

    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a",
                  now - std::chrono::minutes(30));
    ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 0.5}, {"b", 0.6}}), touched).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}, {"b", 0.6}}));
}

// Another process writing, later, the very bytes of this store's last save
// (a command line setting a display to the value it holds) made its own
// request, which wins over this store's earlier one; the file holds another
// process's write until this store writes or reads it again.
TEST_F(MergingDefaultsStoreTest, EqualBytesFromAnotherWriterAreALaterRequestNotThisStoresWrite) {
    const auto now = std::chrono::system_clock::now();
    const auto asked = [](Date at) {
        TouchedRecordParts touched;
        touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a", at);
        return touched;
    };
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.5}})).succeeded());
    EXPECT_FALSE(store.mayHoldOthersWrite(kKey));
    ASSERT_TRUE(other->setDataTouching(kKey, record({{"a", 0.5}}), asked(now)).succeeded());
    EXPECT_TRUE(store.mayHoldOthersWrite(kKey));

    const auto earlier = asked(now - std::chrono::milliseconds(300));
    ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 0.9}}), earlier).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}}));
    EXPECT_FALSE(store.mayHoldOthersWrite(kKey));
}

// A save of this store's own landing while the file is read leaves the
// record it replaced in the read: that record was known before the save,
// and tells of no other process's write. A record another process wrote,
// read as this store's save merges it, does.
TEST_F(MergingDefaultsStoreTest, ASaveOfOursLandingDuringTheReadIsNoOtherProcesssWrite) {
    const auto savingDuringTheNextRead = [&](const std::string& bytes) {
        files->setReadCall([this, bytes, saving = true](const std::filesystem::path&, int fd,
                                                        void* buffer,
                                                        std::size_t size) mutable -> ssize_t {
            if (std::exchange(saving, false)) {
                EXPECT_TRUE(store.setData(kKey, bytes).succeeded());
            }
            return ::read(fd, buffer, size);
        });
    };
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    savingDuringTheNextRead(record({{"a", 0.5}}));
    EXPECT_FALSE(store.mayHoldOthersWrite(kKey));
    EXPECT_FALSE(store.mayHoldOthersWrite(kKey));

    ASSERT_TRUE(other->setData(kKey, record({{"b", 0.7}, {"a", 0.5}})).succeeded());
    savingDuringTheNextRead(record({{"a", 0.4}}));
    EXPECT_TRUE(store.mayHoldOthersWrite(kKey));
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.4}, {"b", 0.7}}));
}

// A command line sets "a" back to the value it holds, then another sets
// "b": the second stamp still names the first request, which stays later
// than this store's older change of "a".
TEST_F(MergingDefaultsStoreTest, ARequestStaysNamedInTheStampsOfLaterWrites) {
    const auto now = std::chrono::system_clock::now();
    ASSERT_TRUE(store.setData(kKey, record({{"a", 0.5}})).succeeded());
    ASSERT_TRUE(
        other->setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", now)).succeeded());
    ASSERT_TRUE(
        other->setDataTouching(kKey, record({{"a", 0.5}, {"b", 0.3}}), adjusting("b")).succeeded());

    const auto earlier = now - std::chrono::milliseconds(300);
    ASSERT_TRUE(
        store.setDataTouching(kKey, record({{"a", 0.9}}), adjusting("a", earlier)).succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
}

// This store's save, merged with another process's change, names the
// requests behind it for every other reader.
TEST_F(MergingDefaultsStoreTest, AMergedSaveNamesItsRequestsInItsStamp) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 0.3}})).succeeded());
    const auto asked = std::chrono::system_clock::now() - std::chrono::seconds(1);
    ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 1.0}, {"b", 1.0}}), adjusting("a", asked))
                    .succeeded());
    const auto read = FileDefaultsStore(folder.path()).read(kKey);
    EXPECT_EQ(read.data, record({{"a", 1.0}, {"b", 0.3}}));
    EXPECT_EQ(read.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"), asked);
}

// A process whose clock ran a year ahead set "a"; a minute later another set
// "b", carrying "a"'s request on. "a"'s time counts as when its stamp was
// put there, for a reader and for the writer carrying it: this store's
// change of "a", asked a second after it and saved two minutes later, is
// the later request.
TEST_F(MergingDefaultsStoreTest, ARequestTimeFromAClockAheadCountsAsWhenItsStampWasWritten) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    const auto now = std::chrono::system_clock::now();
    FileDefaultsStore ahead(folder.path());
    ahead.setWallClock(clockAt(now + std::chrono::hours(24 * 365)));
    ASSERT_TRUE(
        ahead.setDataTouching(kKey, record({{"a", 0.2}, {"b", 1.0}}), adjusting("a")).succeeded());
    const auto read = files->read(kKey);
    EXPECT_LE(read.writtenAt, std::chrono::system_clock::now());
    EXPECT_LE(read.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"),
              std::chrono::system_clock::now());

    other->setWallClock(clockAt(now + std::chrono::minutes(1)));
    ASSERT_TRUE(
        other->setDataTouching(kKey, record({{"a", 0.2}, {"b", 0.3}}), adjusting("b")).succeeded());
    const auto asked = std::chrono::system_clock::now() + std::chrono::seconds(1);
    files->setWallClock(clockAt(now + std::chrono::minutes(2)));
    ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 0.5}, {"b", 1.0}}), adjusting("a", asked))
                    .succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
}

struct Process {
    std::shared_ptr<ManualScheduler> wall;
    std::shared_ptr<RequestClock> clock;
    std::shared_ptr<FileDefaultsStore> files;
};

// A process on `folder` whose wall clock reads `wallNow` as it starts.
Process process(const std::filesystem::path& folder, Date wallNow,
                std::shared_ptr<const BootClock> boot) {
    auto files = std::make_shared<FileDefaultsStore>(folder);
    auto wall = clockAt(wallNow);
    auto clock = std::make_shared<RequestClock>(wall, std::move(boot));
    files->setRequestClock(clock);
    return Process{wall, clock, files};
}

// The application's request is held while another process of the same
// boot, started after the wall clock was stepped (set back an hour, or on
// an hour: date -s, NTP, a resumed virtual machine), saves its own: the
// request asked later on the boot-time clock wins, whichever wall clock
// reads later. A request of this machine's earlier boot is older than
// both, however far ahead that boot's clock ran.
TEST_F(MergingDefaultsStoreTest, TheLaterRequestOnTheBootTimeClockWinsWhateverTheWallClocksSay) {
    const auto start = std::chrono::system_clock::now() - std::chrono::hours(2);
    for (const auto step : {-std::chrono::hours(1), std::chrono::hours(1)}) {
        for (const bool applicationLater : {false, true}) {
            SCOPED_TRACE(std::to_string(step.count()) + (applicationLater ? " app later" : ""));
            TemporaryFolder shared;
            auto boot = std::make_shared<ManualBootClock>();
            const auto application = process(shared.path(), start, boot);
            MergingDefaultsStore held(application.files, {{kKey, RecordMerge::preferencesBytes}});
            ASSERT_TRUE(application.files->setData(kKey, record({{"a", 1.0}})).succeeded());
            ASSERT_TRUE(held.read(kKey).data);
            boot->advance(std::chrono::minutes(1));
            const auto stepped = process(shared.path(), start + step, boot);

            const auto firstAsked = (applicationLater ? stepped : application).clock->now();
            boot->advance(std::chrono::seconds(1));
            const auto secondAsked = (applicationLater ? application : stepped).clock->now();
            ASSERT_TRUE(
                stepped.files
                    ->setDataTouching(kKey, record({{"a", 0.2}}),
                                      adjusting("a", applicationLater ? firstAsked : secondAsked))
                    .succeeded());
            ASSERT_TRUE(
                held.setDataTouching(kKey, record({{"a", 0.5}}),
                                     adjusting("a", applicationLater ? secondAsked : firstAsked))
                    .succeeded());
            EXPECT_EQ(stepped.files->read(kKey).data,
                      record({{"a", applicationLater ? 0.5 : 0.2}}));
        }
    }

    // Asked before this boot began, on a clock a day ahead.
    TemporaryFolder shared;
    auto boot = std::make_shared<ManualBootClock>("boot-b");
    const auto application = process(shared.path(), start, boot);
    MergingDefaultsStore held(application.files, {{kKey, RecordMerge::preferencesBytes}});
    ASSERT_TRUE(held.read(kKey).data == std::nullopt);
    const auto asked = application.clock->now();
    const auto earlier =
        process(shared.path(), start + std::chrono::hours(24),
                std::make_shared<ManualBootClock>("boot-a", std::chrono::hours(10)));
    ASSERT_TRUE(
        earlier.files
            ->setDataTouching(kKey, record({{"a", 0.2}}), adjusting("a", earlier.clock->now()))
            .succeeded());
    ASSERT_TRUE(
        held.setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked)).succeeded());
    EXPECT_EQ(earlier.files->read(kKey).data, record({{"a", 0.5}}));
    // The same noted by the version before, which named no machine.
    ASSERT_TRUE(
        earlier.files
            ->setDataTouching(kKey, record({{"a", 0.3}}), adjusting("a", earlier.clock->now()))
            .succeeded());
    const auto stamps = shared.path() / RecordWriteStamp::fileNameFor(
                                            earlier.files->pathForKey(kKey).filename().string());
    std::string text{std::istreambuf_iterator<char>(std::ifstream(stamps).rdbuf()), {}};
    const std::string machine = R"("machine":"machine-a",)";
    for (auto at = text.find(machine); at != std::string::npos; at = text.find(machine))
        text.erase(at, machine.size());
    std::ofstream(stamps, std::ios::trunc) << text;
    ASSERT_TRUE(
        held.setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked)).succeeded());
    EXPECT_EQ(earlier.files->read(kKey).data, record({{"a", 0.5}}));

    // Put there without a stamp (an editor) when the file times ran two
    // hours ahead of the application's clock: it counts as put there when
    // first seen, so a request asked after that outranks it, however often
    // it is read again before the clock catches up.
    ASSERT_TRUE(held.read(kKey).data);
    std::ofstream(application.files->pathForKey(kKey), std::ios::trunc) << record({{"a", 0.3}});
    ASSERT_EQ(application.files->read(kKey).data, record({{"a", 0.3}}));
    boot->advance(std::chrono::seconds(1));
    const auto afterSeen = application.clock->now();
    boot->advance(std::chrono::seconds(1));
    ASSERT_TRUE(application.files->read(kKey).data);
    ASSERT_TRUE(
        held.setDataTouching(kKey, record({{"a", 0.7}}), adjusting("a", afterSeen)).succeeded());
    EXPECT_EQ(earlier.files->read(kKey).data, record({{"a", 0.7}}));
}

// Another machine sharing the folder (a network home) and a process that
// cannot read its boot id (a sandbox) share only the wall clock with the
// application: whichever asked later wins, also once the application's
// clock was set on an hour after it started (its line then stands an hour
// behind the wall clock).
// Two processes that both cannot read their boot id, or two machines that
// both cannot read their machine id, share no more than that.
TEST_F(MergingDefaultsStoreTest, ARequestOfAnotherMachineOrAnUnknownBootGoesByTheWallClock) {
    const auto start = std::chrono::system_clock::now() - std::chrono::hours(2);
    for (const auto& [applicationBoot, applicationMachine, otherBoot, otherMachine] :
         {std::tuple{"boot-b", "machine-a", "boot-m", "machine-m"},
          {"boot-b", "machine-a", "", "machine-a"},
          {"", "machine-a", "boot-b", "machine-a"},
          {"", "machine-a", "", "machine-a"},
          {"boot-b", "", "boot-m", ""}}) {
        for (const bool applicationLater : {false, true}) {
            SCOPED_TRACE(std::string(applicationBoot) + "/" + applicationMachine + "/" + otherBoot +
                         "/" + otherMachine + (applicationLater ? " app later" : ""));
            TemporaryFolder shared;
            auto boot = std::make_shared<ManualBootClock>(applicationBoot, std::chrono::hours(1),
                                                          applicationMachine);
            const auto application = process(shared.path(), start, boot);
            MergingDefaultsStore held(application.files, {{kKey, RecordMerge::preferencesBytes}});
            ASSERT_TRUE(application.files->setData(kKey, record({{"a", 1.0}})).succeeded());
            ASSERT_TRUE(held.read(kKey).data);
            boot->advance(std::chrono::minutes(1));
            application.wall->setWallNow(start + std::chrono::minutes(61));
            const auto asked =
                start + std::chrono::minutes(61) +
                (applicationLater ? -std::chrono::seconds(1) : std::chrono::seconds(1));
            const auto other = process(
                shared.path(), asked,
                std::make_shared<ManualBootClock>(otherBoot, std::chrono::hours(5), otherMachine));
            ASSERT_TRUE(other.files
                            ->setDataTouching(kKey, record({{"a", 0.2}}),
                                              adjusting("a", other.clock->now()))
                            .succeeded());
            ASSERT_TRUE(held.setDataTouching(kKey, record({{"a", 0.5}}),
                                             adjusting("a", application.clock->now()))
                            .succeeded());
            EXPECT_EQ(other.files->read(kKey).data, record({{"a", applicationLater ? 0.5 : 0.2}}));
        }
    }
}

// A request of another machine, of a process that cannot read its boot id,
// or of an older version (no line), from a clock an hour ahead of the file
// times: it counts as asked when its file was written at the latest, so the
// application's change asked after that wins.
TEST_F(MergingDefaultsStoreTest, ARequestOffTheBootTimeLineIsHeldAtItsFilesTime) {
    const auto now = std::chrono::system_clock::now();
    for (const std::string kind : {"another machine", "unknown boot", "no line"}) {
        SCOPED_TRACE(kind);
        TemporaryFolder shared;
        const auto application = process(shared.path(), now + std::chrono::hours(1),
                                         std::make_shared<ManualBootClock>());
        MergingDefaultsStore held(application.files, {{kKey, RecordMerge::preferencesBytes}});
        ASSERT_TRUE(held.read(kKey).data == std::nullopt);
        auto other = process(shared.path(), now + std::chrono::hours(2),
                             std::make_shared<ManualBootClock>(
                                 kind == "unknown boot" ? "" : "boot-m", std::chrono::hours(5),
                                 kind == "another machine" ? "machine-m" : "machine-a"));
        if (kind == "no line") {
            other.files = std::make_shared<FileDefaultsStore>(shared.path());
            other.files->setWallClock(other.wall);
        }
        ASSERT_TRUE(
            other.files->setDataTouching(kKey, record({{"a", 0.2}}), adjusting("a")).succeeded());
        ASSERT_TRUE(held.setDataTouching(kKey, record({{"a", 0.5}}),
                                         adjusting("a", now + std::chrono::minutes(30)))
                        .succeeded());
        EXPECT_EQ(other.files->read(kKey).data, record({{"a", 0.5}}));
    }
}

// Two machines cloned with one machine id share a home: the other one's
// request, written during this boot a while after the application's, is
// of no earlier boot of this machine, and goes by the wall clock.
TEST_F(MergingDefaultsStoreTest, AMachineClonedWithThisOnesIDIsNoEarlierBoot) {
    const auto now = std::chrono::system_clock::now();
    auto boot = std::make_shared<ManualBootClock>("boot-b");
    const auto application = process(folder.path(), now - std::chrono::seconds(2), boot);
    MergingDefaultsStore held(application.files, {{kKey, RecordMerge::preferencesBytes}});
    ASSERT_TRUE(held.read(kKey).data == std::nullopt);
    const auto asked = application.clock->now();
    const auto clone = process(folder.path(), now,
                               std::make_shared<ManualBootClock>("boot-c", std::chrono::hours(5)));
    ASSERT_TRUE(
        clone.files->setDataTouching(kKey, record({{"a", 0.2}}), adjusting("a", clone.clock->now()))
            .succeeded());
    boot->advance(std::chrono::seconds(32));
    application.wall->setWallNow(now + std::chrono::seconds(30));
    ASSERT_TRUE(
        held.setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked)).succeeded());
    EXPECT_EQ(clone.files->read(kKey).data, record({{"a", 0.2}}));
}

// A wall clock that follows the boot-time clock, each reading taking
// `tick`, and stalls the process once, just before or just after a chosen
// reading, as a busy machine does between two system calls.
class StallingWallClock final : public Clock {
  public:
    StallingWallClock(Date bootedAt, std::shared_ptr<ManualBootClock> boot, Duration tick)
        : bootedAt_(bootedAt), boot_(std::move(boot)), tick_(tick) {}

    // `reading` counts from 1; the stall comes after it when `after`.
    void stallAt(int reading, bool after) {
        readings_ = 0;
        stallAt_ = reading;
        after_ = after;
    }
    MonotonicTime monotonicNow() const override { return MonotonicTime(boot_->sinceBoot()); }
    Date wallNow() const override {
        const bool stalls = ++readings_ == stallAt_;
        if (stalls && !after_)
            boot_->advance(std::chrono::seconds(1));
        const auto reading =
            bootedAt_ + std::chrono::duration_cast<Date::duration>(boot_->sinceBoot());
        if (stalls && after_)
            boot_->advance(std::chrono::seconds(1));
        boot_->advance(tick_);
        return reading;
    }

  private:
    Date bootedAt_;
    std::shared_ptr<ManualBootClock> boot_;
    Duration tick_;
    mutable int readings_ = 0;
    int stallAt_ = 0;
    bool after_ = false;
};

// A file's time moves onto the request line as far as the wall clock
// stands from the boot-time clock, wherever a stall falls between the
// readings of the two clocks, in the first try or the last (every try
// slow enough to need the next): a file changed at a moment is dated at it.
TEST_F(MergingDefaultsStoreTest, AStallBetweenReadingTheTwoClocksMovesNoFileTime) {
    auto boot = std::make_shared<ManualBootClock>();
    auto wall = std::make_shared<StallingWallClock>(std::chrono::system_clock::now(), boot,
                                                    std::chrono::microseconds(100));
    const RequestClock clock(wall, boot);
    for (const auto& [reading, after] : {std::pair{1, false}, {1, true}, {2, false}, {10, false}}) {
        SCOPED_TRACE(std::to_string(reading) + (after ? " after" : " before"));
        const auto changed = wall->wallNow();
        wall->stallAt(reading, after);
        EXPECT_LT(std::chrono::abs(clock.fromWall(changed) - changed),
                  std::chrono::milliseconds(1));
    }
}

// Temporary files (".<name>.XXXXXX") left in `folder`.
int temporaryFiles(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        // The stamps, and the ones kept as sure to outlive a crash.
        const bool stamps = name.ends_with(".written") || name.ends_with(".written~");
        count += name.starts_with(".") && !stamps && name != ".lock" ? 1 : 0;
    }
    return count;
}

// The command line's record fits on the disk, its stamp does not: the
// record is not replaced either, its stamp stays, and the save says why.
// Once there is room, the same request lands with its stamp.
TEST_F(MergingDefaultsStoreTest, ASaveWhoseStampFindsNoRoomLeavesRecordAndStampAsTheyWere) {
    const SmallDisk disk(folder.path());
    if (!disk.mounted())
        GTEST_SKIP() << disk.refusal();
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}})).succeeded());
    const auto before = store.read(kKey);
    struct stat first {};
    ASSERT_EQ(::stat(files->pathForKey(kKey).c_str(), &first), 0);
    disk.leaveOnePage();

    const auto asked = std::chrono::system_clock::now();
    const auto refused = other->setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked));
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::noSpace);
    struct stat second {};
    ASSERT_EQ(::stat(files->pathForKey(kKey).c_str(), &second), 0);
    EXPECT_EQ(second.st_ino, first.st_ino);
    const auto after = store.read(kKey);
    EXPECT_EQ(after.data, before.data);
    EXPECT_EQ(after.writeID, before.writeID);
    EXPECT_EQ(temporaryFiles(folder.path()), 0);

    std::filesystem::remove(folder / "filler");
    const auto landed = other->setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked));
    ASSERT_TRUE(landed.succeeded());
    const auto read = store.read(kKey);
    EXPECT_EQ(read.writeID, landed.writeID);
    EXPECT_EQ(read.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"), asked);
}

// A request for the bytes the record holds whose stamp finds no room: the
// record (here a link to a file on another disk, with room) is not written
// anew without its stamp either; it stays as it was, and the save says why.
TEST_F(MergingDefaultsStoreTest, ARequestWhoseStampFindsNoRoomLeavesTheRecordItHolds) {
    const SmallDisk disk(folder.path());
    if (!disk.mounted())
        GTEST_SKIP() << disk.refusal();
    // Beside the test's folder, off the small disk.
    const auto elsewhere = std::filesystem::path(folder.path().string() + "-elsewhere");
    std::filesystem::create_directories(elsewhere);
    const std::shared_ptr<void> removed(nullptr, [&](void*) {
        std::error_code ignored;
        std::filesystem::remove_all(elsewhere, ignored);
    });
    std::filesystem::create_symlink(elsewhere / "record.json", files->pathForKey(kKey));
    ASSERT_TRUE(other->setData(kKey, record({{"a", 0.5}})).succeeded());
    const auto before = files->read(kKey);
    struct stat first {};
    ASSERT_EQ(::stat((elsewhere / "record.json").c_str(), &first), 0);
    disk.leaveOnePage();
    std::ofstream(folder / "last page") << 'x';

    const auto asked = std::chrono::system_clock::now();
    const auto refused = other->setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked));
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::noSpace);
    struct stat second {};
    ASSERT_EQ(::stat((elsewhere / "record.json").c_str(), &second), 0);
    EXPECT_EQ(second.st_ino, first.st_ino);
    const auto read = files->read(kKey);
    EXPECT_EQ(read.data, record({{"a", 0.5}}));
    EXPECT_EQ(read.writeID, before.writeID);
    EXPECT_EQ(temporaryFiles(folder.path()), 0);
    EXPECT_EQ(temporaryFiles(elsewhere), 0);
}

// The application's writer on a real disk with one free page: a change,
// then a later request for the values the record holds (a stamp alone),
// each refused for want of room. Each stays held and shown (the record read
// back does not drop it) and is tried again on the back-off; once there is
// room it lands within two seconds, before the back-off's next try (4 s
// on), and its trouble is told over.
TEST_F(MergingDefaultsStoreTest, TheApplicationsRefusedSaveLandsOnceThereIsRoom) {
    const SmallDisk disk(folder.path());
    if (!disk.mounted())
        GTEST_SKIP() << disk.refusal();
    auto scheduler = std::make_shared<ManualScheduler>();
    const auto writer = LinuxDisplayStoreFactory::recordWriter(folder.path(), scheduler);
    std::atomic<int> failures = 0;
    std::atomic<int> toldWritten = 0;
    writer->setFailureHandler([&](const std::string&, const SaveOutcome&) { ++failures; });
    writer->setWrittenAfterFailureHandler([&](const std::string&) { ++toldWritten; });
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}})).succeeded());
    ASSERT_TRUE(writer->read(kKey).data);

    for (const bool stampAlone : {false, true}) {
        SCOPED_TRACE(stampAlone ? "a stamp alone" : "a change");
        // Later than every write before.
        const auto asked = std::chrono::system_clock::now();
        const auto heldBefore = other->read(kKey);
        disk.leaveOnePage();
        // A stamp alone would fit in the last page.
        if (stampAlone)
            std::ofstream(folder / "last page") << 'x';
        writer->setDataTouching(kKey, record({{"a", 0.5}}), adjusting("a", asked));
        ASSERT_TRUE(writer->waitForPendingWrites(std::chrono::seconds(10)));
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(writer->read(kKey).data, record({{"a", 0.5}}));
        // Still no room: tried again after the first wait, quietly.
        scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
        ASSERT_TRUE(writer->waitForPendingWrites(std::chrono::seconds(10)));
        EXPECT_EQ(other->read(kKey).writeID, heldBefore.writeID);
        EXPECT_EQ(toldWritten, 0);

        std::filesystem::remove(folder / "filler");
        std::filesystem::remove(folder / "last page");
        for (int quarter = 0; quarter < 8; ++quarter) {
            scheduler->advance(seconds(0.25));
            ASSERT_TRUE(writer->waitForPendingWrites(std::chrono::seconds(10)));
        }
        const auto landed = other->read(kKey);
        EXPECT_EQ(landed.data, record({{"a", 0.5}}));
        EXPECT_EQ(landed.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"),
                  asked);
        EXPECT_EQ(toldWritten, 1);
        failures = 0;
        toldWritten = 0;
    }
}

// The application's writer on a disk that fills up when told, over a record
// of three displays it has read; another process writes the same folder.
class HeldChangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(other.setData(kKey, before).succeeded());
        ASSERT_TRUE(writer->read(kKey).data);
    }

    const std::string before = record({{"a", 1.0}, {"b", 1.0}, {"c", 1.0}});
    TemporaryFolder folder;
    FileDefaultsStore other{folder.path()};
    std::shared_ptr<std::atomic<bool>> full = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<BackgroundDefaultsWriter> writer =
        LinuxDisplayStoreFactory::recordWriter(testing::filesOnAFullDisk(folder.path(), full));
};

// A change held by a full disk, read while held: laid on the record the
// other process wrote after it was asked for, it keeps only what that
// process did not set again. Once the other process has set everything it
// changed, reading drops it: nothing is retried or named at the end, and
// its failure stops being told.
TEST_F(HeldChangeTest, ReadingDropsWhatLaterRequestsElsewhereOvertook) {
    std::atomic<int> toldWritten = 0;
    writer->setWrittenAfterFailureHandler([&](const std::string&) { ++toldWritten; });

    // Asked for a minute before the other process writes.
    const auto asked = std::chrono::system_clock::now() - std::chrono::minutes(1);
    TouchedRecordParts touched;
    for (const char* display : {"a", "b"})
        touched.touch(RecordMerge::PreferencesPart::displayAdjustments, display, asked);
    full->store(true);
    writer->setDataTouching(kKey, record({{"a", 0.5}, {"b", 0.6}, {"c", 1.0}}), touched);
    ASSERT_EQ(writer->flushPendingSaves().size(), 1u);
    full->store(false);

    ASSERT_TRUE(other.setData(kKey, record({{"a", 0.2}, {"b", 1.0}, {"c", 0.3}})).succeeded());
    EXPECT_EQ(writer->read(kKey).data, record({{"a", 0.2}, {"b", 0.6}, {"c", 0.3}}));
    EXPECT_EQ(toldWritten, 0);

    ASSERT_TRUE(other.setData(kKey, record({{"a", 0.2}, {"b", 0.4}, {"c", 0.3}})).succeeded());
    EXPECT_EQ(writer->read(kKey).data, record({{"a", 0.2}, {"b", 0.4}, {"c", 0.3}}));
    EXPECT_EQ(toldWritten, 1);
    EXPECT_TRUE(writer->flushPendingSaves().empty());
    EXPECT_EQ(other.read(kKey).data, record({{"a", 0.2}, {"b", 0.4}, {"c", 0.3}}));
}

// A reset held by a full disk (asked for a minute before the other
// process's change), then the user's own change (a minute after it) while
// the reset still waits: the user's change keeps the time it was asked for,
// not the reset's, and wins on the display it set; elsewhere the other
// process's later change wins over the reset, and what only the reset
// changed stays reset.
TEST_F(HeldChangeTest, AChangeQueuedBehindAHeldResetKeepsItsOwnTime) {
    const auto now = std::chrono::system_clock::now();
    full->store(true);
    writer->setDataTouching(kKey, record({}),
                            TouchedRecordParts::all(now - std::chrono::minutes(1)));
    ASSERT_TRUE(writer->waitForPendingWrites(std::chrono::seconds(10)));
    ASSERT_EQ(other.read(kKey).data, before);
    full->store(false);
    ASSERT_TRUE(other.setData(kKey, record({{"a", 0.2}, {"b", 0.3}, {"c", 1.0}})).succeeded());

    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a",
                  now + std::chrono::minutes(1));
    writer->setDataTouching(kKey, record({{"a", 0.5}}), touched);
    EXPECT_TRUE(writer->flushPendingSaves().empty());
    EXPECT_EQ(other.read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
}

// The same with the user's change asked for while the reset's failing write
// is under way: queued behind it, it takes on what the reset touched and
// keeps its own time.
TEST_F(HeldChangeTest, AChangeAskedDuringAFailingResetKeepsItsOwnTime) {
    auto holdNextWrite = std::make_shared<std::atomic<bool>>(true);
    auto writing = std::make_shared<std::promise<void>>();
    auto writingStarted = writing->get_future();
    std::promise<void> release;
    writer->setBeforeWriteHook([holdNextWrite, writing, released = release.get_future().share()](
                                   const auto&, const auto&) {
        if (holdNextWrite->exchange(false)) {
            writing->set_value();
            released.wait();
        }
    });

    const auto now = std::chrono::system_clock::now();
    full->store(true);
    writer->setDataTouching(kKey, record({}),
                            TouchedRecordParts::all(now - std::chrono::minutes(1)));
    writingStarted.wait();
    TouchedRecordParts touched;
    touched.touch(RecordMerge::PreferencesPart::displayAdjustments, "a",
                  now + std::chrono::minutes(1));
    writer->setDataTouching(kKey, record({{"a", 0.5}}), touched);
    release.set_value();
    ASSERT_TRUE(writer->waitForPendingWrites(std::chrono::seconds(10)));
    ASSERT_EQ(other.read(kKey).data, before);

    full->store(false);
    ASSERT_TRUE(other.setData(kKey, record({{"a", 0.2}, {"b", 0.3}, {"c", 1.0}})).succeeded());
    EXPECT_TRUE(writer->flushPendingSaves().empty());
    EXPECT_EQ(other.read(kKey).data, record({{"a", 0.5}, {"b", 0.3}}));
}

// Another process breaks the record after the application read it: the
// application's next save has nothing to merge it with, and keeps it aside
// before its own record replaces it.
TEST(RecordBrokenWhileRunningTest, TheNextSaveKeepsBrokenPreferencesAside) {
    TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    auto writer = LinuxDisplayStoreFactory::recordWriter(folder.path());
    UserDefaultsPreferencesStore store(writer);
    ASSERT_TRUE(other.setData(kKey, record({{"a", 1.0}})).succeeded());
    ASSERT_FALSE(store.loadResult().recoveredFromCorruption);
    const std::string broken = R"({"displayAdjustments":{"a":)";
    ASSERT_TRUE(other.setData(kKey, broken).succeeded());

    QuorvanePreferences changed;
    changed.textSize = QuorvaneTextSize::extraLarge;
    ASSERT_TRUE(store.save(changed).succeeded());
    ASSERT_TRUE(writer->flushPendingSaves().empty());
    EXPECT_EQ(folder.copiesKeptAside(kKey), std::vector<std::string>{broken});
    EXPECT_EQ(other.read(kKey).data, changed.encoded());
}

const std::string kBroken = R"({"displayAdjustments":{"a":)";

// The record breaks after the application read it, and the disk has no room
// for its copy: the save fails and says why, the broken bytes stay, and no
// half copy is left. Once there is room the save keeps them aside and writes.
TEST(RecordBrokenWhileRunningTest, ABrokenRecordWhoseCopyFindsNoSpaceIsNotWrittenOver) {
    TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    auto full = std::make_shared<std::atomic<bool>>(false);
    MergingDefaultsStore store{testing::filesRefusingCopies(folder.path(), full),
                               {{kKey, RecordMerge::preferencesBytes}}};
    ASSERT_TRUE(other.setData(kKey, record({{"a", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(other.setData(kKey, kBroken).succeeded());

    full->store(true);
    const auto refused = store.setData(kKey, record({{"a", 0.5}}));
    ASSERT_FALSE(refused.succeeded());
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::noSpace);
    EXPECT_EQ(other.read(kKey).data, kBroken);
    EXPECT_TRUE(folder.copiesKeptAside(kKey).empty());

    full->store(false);
    const auto saved = store.setData(kKey, record({{"a", 0.5}}));
    ASSERT_TRUE(saved.succeeded());
    EXPECT_TRUE(saved.keptCopy);
    EXPECT_EQ(folder.copiesKeptAside(kKey), std::vector<std::string>{kBroken});
    EXPECT_EQ(other.read(kKey).data, record({{"a", 0.5}}));
}

// Every name a copy could take now is taken (by copies of other bytes): the
// save fails, and the broken record stays as it is.
TEST(RecordBrokenWhileRunningTest, ABrokenRecordWhoseCopyFindsEveryNameTakenIsNotWrittenOver) {
    TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    auto disk = std::make_shared<FileDefaultsStore>(folder.path());
    auto clock = std::make_shared<ManualScheduler>();
    disk->setWallClock(clock);
    MergingDefaultsStore store{disk, {{kKey, RecordMerge::preferencesBytes}}};
    ASSERT_TRUE(other.setData(kKey, record({{"a", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(other.setData(kKey, kBroken).succeeded());
    // The second the save's copy is dated by stands still, and each of its
    // names is taken.
    clock->setWallNow(std::chrono::system_clock::now());
    const std::time_t second = std::chrono::system_clock::to_time_t(clock->wallNow());
    std::tm parts{};
    ::gmtime_r(&second, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    const std::string base = kKey + ".json.unreadable-" + stamp;
    for (int attempt = 1; attempt <= 100; ++attempt)
        testing::writeContents(
            folder / (attempt == 1 ? base : base + "-" + std::to_string(attempt)), "x");

    const auto refused = store.setData(kKey, record({{"a", 0.5}}));
    ASSERT_FALSE(refused.succeeded());
    EXPECT_EQ(other.read(kKey).data, kBroken);
    const auto copies = folder.copiesKeptAside(kKey);
    EXPECT_EQ(std::ranges::count(copies, kBroken), 0);
}

// The same broken bytes come back again and again (a tool that keeps
// rewriting its half-written file): they are kept aside once, however many
// saves replace them.
TEST(RecordBrokenWhileRunningTest, TwentyReturnsOfOneBrokenRecordLeaveOneCopy) {
    TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    auto writer = LinuxDisplayStoreFactory::recordWriter(folder.path());
    UserDefaultsPreferencesStore store(writer);
    ASSERT_TRUE(other.setData(kKey, record({{"a", 1.0}})).succeeded());
    ASSERT_FALSE(store.loadResult().recoveredFromCorruption);

    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(other.setData(kKey, kBroken).succeeded());
        QuorvanePreferences changed;
        changed.textSize =
            round % 2 == 0 ? QuorvaneTextSize::extraLarge : QuorvaneTextSize::veryLarge;
        ASSERT_TRUE(store.save(changed).succeeded());
        ASSERT_TRUE(writer->flushPendingSaves().empty()) << round;
        ASSERT_EQ(other.read(kKey).data, changed.encoded()) << round;
    }
    EXPECT_EQ(folder.copiesKeptAside(kKey), std::vector<std::string>{kBroken});
}

// A record broken at start and a disk with no room for its copy: the change
// is not dropped but held like any failed save (the first save's copy is
// made by the write itself), named at the flush, and the back-off writes it
// once there is room, keeping the broken record aside first.
TEST(RecordBrokenWhileRunningTest, AChangeWhoseCopyFindsNoSpaceIsHeldAndWrittenOnceSpaceReturns) {
    TemporaryFolder folder;
    FileDefaultsStore other(folder.path());
    ASSERT_TRUE(other.setData(kKey, kBroken).succeeded());
    auto full = std::make_shared<std::atomic<bool>>(true);
    auto scheduler = std::make_shared<ManualScheduler>();
    auto writer = LinuxDisplayStoreFactory::recordWriter(
        testing::filesRefusingCopies(folder.path(), full), scheduler);
    UserDefaultsPreferencesStore store(writer);
    ASSERT_TRUE(store.loadResult().recoveredFromCorruption);

    QuorvanePreferences changed;
    changed.textSize = QuorvaneTextSize::extraLarge;
    EXPECT_TRUE(store.save(changed).succeeded());
    const auto unwritten = writer->flushPendingSaves();
    ASSERT_EQ(unwritten.size(), 1u);
    EXPECT_EQ(unwritten[0].key, kKey);
    ASSERT_TRUE(unwritten[0].outcome.error);
    EXPECT_EQ(unwritten[0].outcome.error->kind, DefaultsStoreError::Kind::noSpace);
    EXPECT_EQ(other.read(kKey).data, kBroken);

    full->store(false);
    scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
    EXPECT_TRUE(writer->flushPendingSaves().empty());
    EXPECT_EQ(other.read(kKey).data, changed.encoded());
    EXPECT_EQ(folder.copiesKeptAside(kKey), std::vector<std::string>{kBroken});
}

// Another process keeps the settings lock: a read does not wait for it (the
// windows' thread reads), and a save waits once, then fails and writes
// nothing.
TEST_F(MergingDefaultsStoreTest, AHeldLockNeverDelaysAReadAndFailsASaveAfterOneWait) {
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}})).succeeded());
    auto clock = std::make_shared<ManualScheduler>();
    files->limitLockWait(FileDefaultsStore::kSharedLockWait, clock, clock);
    testing::OtherLockHolder holder(folder.path() / ".lock");
    ASSERT_TRUE(holder.held());

    const auto start = clock->monotonicNow();
    EXPECT_EQ(store.read(kKey).data, record({{"a", 1.0}}));
    EXPECT_EQ(clock->monotonicNow(), start);

    const auto refused = store.setData(kKey, record({{"a", 0.5}}));
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->kind, DefaultsStoreError::Kind::lockHeld);
    EXPECT_LE(clock->monotonicNow() - start,
              FileDefaultsStore::kSharedLockWait + FileDefaultsStore::kLockRetryInterval);
    EXPECT_EQ(other->read(kKey).data, record({{"a", 1.0}}));
}

// The lock file removed, replaced, made a link or moved aside (still linked
// under another name, on the same file system) while a save holds it, just
// before its record lands, before its last look at the lock and after it:
// another process takes the new lock at once and saves its change; the
// save takes the lock again and lays its own change on that record, whose
// requests stay named.
void MergingDefaultsStoreTest::takeTheLockFileFromUnderASave() {
    namespace fs = std::filesystem;
    const auto lockFile = folder.path() / ".lock";
    const auto elsewhere = folder.path() / "elsewhere";
    const std::vector<std::function<void()>> takings{
        [&] { fs::remove(lockFile); },
        [&] { std::ofstream(elsewhere) << ""; },
        [&] { fs::create_symlink(folder.path() / "nowhere", elsewhere); },
        [&] { fs::rename(lockFile, folder.path() / ".lock~"); },
    };
    auto clock = std::make_shared<ManualScheduler>();
    other->limitLockWait(FileDefaultsStore::kSharedLockWait, clock, clock);
    for (const bool afterLastLook : {false, true}) {
        for (std::size_t taking = 0; taking < takings.size(); ++taking) {
            SCOPED_TRACE(::testing::Message()
                         << "taking " << taking << (afterLastLook ? ", after" : ""));
            ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
            ASSERT_TRUE(store.read(kKey).data);
            const auto stall = [&, taken = false](const auto&) mutable {
                if (std::exchange(taken, true))
                    return true;
                takings[taking]();
                if (fs::exists(fs::symlink_status(elsewhere)))
                    fs::rename(elsewhere, lockFile);
                return other
                    ->setDataTouching(kKey, record({{"a", 1.0}, {"b", 0.3}}), adjusting("b"))
                    .succeeded();
            };
            // Found over this save's record, the other's is put back, and so
            // are its stamps after it: however long this save stalled, they
            // changed no earlier than the record, and still describe it when
            // the save is made again from it.
            files->setWriteCall([&](const auto&, int fd, std::string_view bytes) {
                struct stat record {};
                struct stat stamps {};
                const auto stampsPath =
                    folder.path() / RecordWriteStamp::fileNameFor(kKey + ".json");
                EXPECT_EQ(::stat(other->pathForKey(kKey).c_str(), &record), 0);
                EXPECT_EQ(::stat(stampsPath.c_str(), &stamps), 0);
                EXPECT_GE(std::tie(stamps.st_ctim.tv_sec, stamps.st_ctim.tv_nsec),
                          std::tie(record.st_ctim.tv_sec, record.st_ctim.tv_nsec));
                return writeAllBytes(fd, bytes);
            });
            files->setBeforeRenameHook(afterLastLook ? FileDefaultsStore::BeforeRenameHook{}
                                                     : stall);
            files->setBeforeInstallHook(afterLastLook ? stall
                                                      : FileDefaultsStore::BeforeRenameHook{});
            ASSERT_TRUE(
                store.setDataTouching(kKey, record({{"a", 0.6}, {"b", 1.0}}), adjusting("a"))
                    .succeeded());
            const auto saved = other->read(kKey);
            EXPECT_EQ(saved.data, record({{"a", 0.6}, {"b", 0.3}}));
            EXPECT_TRUE(
                saved.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "b"));
            EXPECT_TRUE(
                saved.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"));
            fs::remove(folder.path() / ".lock~");
        }
    }
}

TEST_F(MergingDefaultsStoreTest, ASaveWhoseLockFileIsTakenFromUnderItMergesOntoTheRecordMeanwhile) {
    takeTheLockFileFromUnderASave();
}

// The same on a file system that cannot exchange two names: the save looks
// at the name once more just before its plain rename, and a record another
// writer landed there meanwhile is merged onto, not renamed over.
TEST_F(MergingDefaultsStoreTest,
       ASaveWhoseLockFileIsTakenFromUnderItKeepsTheOtherChangeWhereNoNamesExchange) {
    if (const auto refused = mountThroughFuse())
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    takeTheLockFileFromUnderASave();
}

// A save made where there was no record, whose lock file is taken from
// under it just before its record lands: the record another process saved
// meanwhile is merged onto, on a file system that exchanges names and on
// one that does not (where nothing stood at the name when the save read,
// anything there now is that other writer's).
TEST_F(MergingDefaultsStoreTest, ASaveThatReadNoRecordKeepsTheRecordAnotherWriterLandedMeanwhile) {
    for (const bool throughFuse : {false, true}) {
        SCOPED_TRACE(throughFuse ? "through FUSE" : "on the folder's own file system");
        if (throughFuse) {
            if (const auto refused = mountThroughFuse())
                GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
        }
        std::filesystem::remove(other->pathForKey(kKey));
        ASSERT_FALSE(store.read(kKey).data);
        files->setBeforeInstallHook([&, taken = false](const auto&) mutable {
            if (std::exchange(taken, true))
                return true;
            std::filesystem::remove(folder.path() / ".lock");
            return other->setDataTouching(kKey, record({{"b", 0.3}}), adjusting("b")).succeeded();
        });
        ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 0.6}}), adjusting("a")).succeeded());
        EXPECT_EQ(other->read(kKey).data, record({{"a", 0.6}, {"b", 0.3}}));
    }
}

// Where no names exchange, the lock file taken from under a save just
// before its record lands, and another writer, let in, puts its stamps in
// place and stalls before its own record: the save's record lands over the
// one both read and keeps stamps that describe it, so it reads as that
// write's requests, never as a file no stamp describes (a request of every
// part). The other writer then finds it there and lays its change on it.
TEST_F(MergingDefaultsStoreTest, ARecordRenamedInPlaceWhereNoNamesExchangeKeepsItsOwnStamps) {
    if (const auto refused = mountThroughFuse())
        GTEST_SKIP() << "no ext4 image can be mounted through FUSE here: " << *refused;
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    MergingDefaultsStore otherStore{other, {{kKey, RecordMerge::preferencesBytes}}};
    ASSERT_TRUE(otherStore.read(kKey).data);
    std::promise<void> go;
    std::future<SaveOutcome> otherSaved;
    letInAStalledSave(otherStore, record({{"a", 1.0}, {"b", 0.3}}), adjusting("b"), go.get_future(),
                      otherSaved);
    ASSERT_TRUE(
        files->setDataTouching(kKey, record({{"a", 0.6}, {"b", 1.0}}), adjusting("a")).succeeded());
    const auto landed = FileDefaultsStore(folder.path()).read(kKey);
    go.set_value();
    ASSERT_TRUE(otherSaved.get().succeeded());
    EXPECT_EQ(landed.data, record({{"a", 0.6}, {"b", 1.0}}));
    EXPECT_FALSE(landed.requested.isAll());
    EXPECT_TRUE(landed.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"));
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.6}, {"b", 0.3}}));
}

// A save whose exchange displaced the record another process saved once
// the lock file was taken from under it is killed before it puts that
// record back: the record waits under its kept name, which the clean-up of
// old temporary files spares, and the next save puts it back and lays its
// own change on it. The killed save's change, never told saved, is gone.
std::filesystem::path MergingDefaultsStoreTest::killASaveBeforeItsPutBack() {
    namespace fs = std::filesystem;
    EXPECT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    EXPECT_TRUE(store.read(kKey).data);
    EXPECT_TRUE(testing::killedInChild([&] {
        files->setBeforeInstallHook([&](const auto&) {
            fs::remove(folder.path() / ".lock");
            return other->setDataTouching(kKey, record({{"a", 1.0}, {"b", 0.3}}), adjusting("b"))
                .succeeded();
        });
        files->setAfterDisplacingHook([](const auto&) { ::raise(SIGKILL); });
        store.setDataTouching(kKey, record({{"a", 0.6}, {"b", 1.0}}), adjusting("a"));
    }));
    fs::path kept;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        if (entry.path().filename().string().find(FileDefaultsStore::kDisplacedMark) !=
            std::string::npos)
            kept = entry.path();
    }
    EXPECT_EQ(fileText(other->pathForKey(kKey)), record({{"a", 0.6}, {"b", 1.0}}));
    return kept;
}

TEST_F(MergingDefaultsStoreTest, ARecordDisplacedByASaveKilledBeforeItsPutBackIsPutBackByTheNext) {
    namespace fs = std::filesystem;
    const auto kept = killASaveBeforeItsPutBack();
    ASSERT_FALSE(kept.empty());
    // Left long past the age at which a write's temporary file is stale.
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::minutes(10);
    fs::last_write_time(kept, longAgo);

    MergingDefaultsStore next{std::make_shared<FileDefaultsStore>(folder.path()),
                              {{kKey, RecordMerge::preferencesBytes}}};
    {
        // Read while another process holds the lock, the killed save's
        // record is what the next save is made from.
        testing::OtherLockHolder holder(folder.path() / ".lock");
        ASSERT_EQ(next.read(kKey).data, record({{"a", 0.6}, {"b", 1.0}}));
    }
    ASSERT_TRUE(
        next.setDataTouching(kKey, record({{"a", 0.6}, {"b", 1.0}, {"c", 0.5}}), adjusting("c"))
            .succeeded());
    const auto saved = other->read(kKey);
    EXPECT_EQ(saved.data, record({{"a", 1.0}, {"b", 0.3}, {"c", 0.5}}));
    EXPECT_TRUE(saved.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "b"));
    EXPECT_FALSE(fs::exists(kept));

    // One killed after its exchange displaced only the record it read
    // leaves that record there, which is never put back.
    const auto recordPath = other->pathForKey(kKey);
    const auto numberOf = [](const fs::path& file) {
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info), 0);
        return std::to_string(info.st_ino);
    };
    const auto read = numberOf(recordPath);
    const auto readAside = folder.path() / "read";
    fs::create_hard_link(recordPath, readAside);
    ASSERT_TRUE(other->setData(kKey, record({{"a", 0.1}})).succeeded());
    fs::rename(readAside, folder.path() / ("." + kKey + ".json.AbCdEf" +
                                           std::string(FileDefaultsStore::kDisplacedMark) +
                                           numberOf(recordPath) + "-" + read));
    {
        // Made under the caller's lock: a record put back would fail it.
        const auto held = other->lockExclusively();
        EXPECT_TRUE(other->setData(kKey, record({{"a", 0.2}})).succeeded());
    }
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.2}}));
    for (const auto& name : folder.entries())
        EXPECT_EQ(name.find(FileDefaultsStore::kDisplacedMark), std::string::npos) << name;
}

// The same record is back before anyone reads it: the next read, the
// command's or the application's reload (under the lock it holds, or with
// none held), finds the other process's record with its requests, and a
// save from it keeps them. Where the lock is held elsewhere the read leaves
// it to the holder's save.
TEST_F(MergingDefaultsStoreTest,
       ARecordDisplacedByASaveKilledBeforeItsPutBackIsPutBackByTheNextRead) {
    for (const bool underTheLock : {false, true}) {
        SCOPED_TRACE(underTheLock ? "read under the lock" : "read without it");
        const auto kept = killASaveBeforeItsPutBack();
        ASSERT_FALSE(kept.empty());
        auto disk = std::make_shared<FileDefaultsStore>(folder.path());
        MergingDefaultsStore next{disk, {{kKey, RecordMerge::preferencesBytes}}};
        {
            testing::OtherLockHolder holder(folder.path() / ".lock");
            ASSERT_TRUE(holder.held());
            EXPECT_EQ(next.read(kKey).data, record({{"a", 0.6}, {"b", 1.0}}));
            EXPECT_TRUE(std::filesystem::exists(kept));
        }
        const auto lock = underTheLock ? next.lockExclusively() : DefaultsLock();
        const auto read = next.read(kKey);
        EXPECT_EQ(read.data, record({{"a", 1.0}, {"b", 0.3}}));
        EXPECT_TRUE(read.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "b"));
        EXPECT_FALSE(std::filesystem::exists(kept));
        ASSERT_TRUE(
            next.setDataTouching(kKey, record({{"a", 1.0}, {"b", 0.3}, {"c", 0.5}}), adjusting("c"))
                .succeeded());
        EXPECT_EQ(fileText(other->pathForKey(kKey)), record({{"a", 1.0}, {"b", 0.3}, {"c", 0.5}}));
    }
}

// Edited by hand in place after the killed save (an editor that writes
// the file it opened), the record is the user's: neither the next read nor
// the next save puts the displaced record back over it.
TEST_F(MergingDefaultsStoreTest, ARecordDisplacedByAKilledSaveIsNeverPutBackOverAHandEditSince) {
    const auto kept = killASaveBeforeItsPutBack();
    ASSERT_FALSE(kept.empty());
    const auto recordPath = other->pathForKey(kKey);
    struct stat displaced {};
    ASSERT_EQ(::stat(kept.c_str(), &displaced), 0);
    const auto edited = record({{"a", 0.2}, {"b", 1.0}});
    // Written again until the file system's clock has moved on past the
    // exchange (a tick of its coarse clock at most).
    struct stat named {};
    do {
        std::ofstream(recordPath, std::ios::trunc) << edited;
        ASSERT_EQ(::stat(recordPath.c_str(), &named), 0);
    } while (std::tie(named.st_mtim.tv_sec, named.st_mtim.tv_nsec) <=
             std::tie(displaced.st_ctim.tv_sec, displaced.st_ctim.tv_nsec));
    EXPECT_EQ(other->read(kKey).data, edited);
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(
        store.setDataTouching(kKey, record({{"a", 0.2}, {"b", 1.0}, {"c", 0.5}}), adjusting("c"))
            .succeeded());
    EXPECT_EQ(other->read(kKey).data, record({{"a", 0.2}, {"b", 1.0}, {"c", 0.5}}));
}

// The lock file taken away while a save waits just before its record
// lands; another process takes the new one, and its save stalls there
// too, made from the record before. The first record lands, then the
// other's, which finds the first where it read the one before: it puts
// it back and lays its own change on it. Neither change is lost.
TEST_F(MergingDefaultsStoreTest, TwoSavesLandingOnTheSameRecordOnceItsLockFileWentBothStay) {
    MergingDefaultsStore otherStore{other, {{kKey, RecordMerge::preferencesBytes}}};
    ASSERT_TRUE(other->setData(kKey, record({{"a", 1.0}, {"b", 1.0}})).succeeded());
    ASSERT_TRUE(store.read(kKey).data);
    ASSERT_TRUE(otherStore.read(kKey).data);
    // Both asked before either lands: neither is later than the other's
    // record, whose stamp alone tells what it asked for.
    const auto asked = std::chrono::system_clock::now();
    std::promise<void> go;
    std::future<SaveOutcome> otherSaved;
    letInAStalledSave(otherStore, record({{"a", 1.0}, {"b", 0.3}}), adjusting("b", asked),
                      go.get_future(), otherSaved);
    ASSERT_TRUE(store.setDataTouching(kKey, record({{"a", 0.6}, {"b", 1.0}}), adjusting("a", asked))
                    .succeeded());
    go.set_value();
    ASSERT_TRUE(otherSaved.get().succeeded());
    const auto saved = other->read(kKey);
    EXPECT_EQ(saved.data, record({{"a", 0.6}, {"b", 0.3}}));
    EXPECT_TRUE(saved.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "a"));
    EXPECT_TRUE(saved.requested.askedAt(RecordMerge::PreferencesPart::displayAdjustments, "b"));
}

}  // namespace
}  // namespace quorvane
