// The background writer of the records: the newest bytes win, nothing set
// before a flush or the writer's end is lost, a failed write is reported, and
// a process killed while writing leaves the last written record whole.
#include "services/persistence/background_defaults_writer.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/persistence/defaults_store.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

using testing::TemporaryFolder;

namespace fs = std::filesystem;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";
const std::string kJournalKey = std::string(kDefaultsDomain) + ".journal.v1";

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
    writer.flush();
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

TEST(BackgroundDefaultsWriter, AValueReachesTheDiskWithinASecondWithoutAFlush) {
    TemporaryFolder folder;
    BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder.path()));
    writer.setData(kKey, "shown on the screen");
    FileDefaultsStore reader(folder.path());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (reader.dataForKey(kKey) != "shown on the screen" &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
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

    EXPECT_TRUE(writer.setData(kKey, "lost").succeeded());
    writer.flush();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, kKey);
    EXPECT_FALSE(reports[0].second.succeeded());
    // A value that failed is not kept: reads give what the disk holds.
    EXPECT_EQ(writer.read(kKey).data, std::nullopt);

    disk->setFailsWrites(false);
    writer.setData(kKey, "kept");
    writer.flush();
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(writer.setData("../escape", "x").succeeded());
}

TEST(BackgroundDefaultsWriter, RemovingAKeyDropsItsPendingValue) {
    auto disk = std::make_shared<InMemoryDefaultsStore>();
    BackgroundDefaultsWriter writer(disk);
    writer.setData(kKey, "old");
    writer.flush();
    writer.setData(kKey, "newer");
    EXPECT_TRUE(writer.removeKey(kKey));
    writer.flush();
    EXPECT_EQ(disk->dataForKey(kKey), std::nullopt);
    EXPECT_EQ(writer.read(kKey).data, std::nullopt);
}

// Runs `body` in a child process that `body` ends with SIGKILL; false when
// it ended otherwise.
bool killedInChild(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
           WTERMSIG(status) == SIGKILL;
}

// A process killed by the system while the writer works keeps the last
// record that was written, whole; only the value still being written is
// lost. Killed at the writer (before the write starts) and in the middle of
// the write (just before the new file replaces the old one).
TEST(BackgroundDefaultsWriter, AKillDuringAWriteLeavesTheLastWrittenRecordWhole) {
    TemporaryFolder folder;
    const std::string large(64 * 1024, 'x');
    ASSERT_TRUE(killedInChild([&] {
        BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder.path()));
        writer.setBeforeWriteHook([](const std::string&, const std::string& bytes) {
            if (bytes == "second")
                ::raise(SIGKILL);
        });
        writer.setData(kKey, "first");
        writer.flush();
        writer.setData(kKey, "second");
        writer.flush();
    }));
    FileDefaultsStore after(folder.path());
    EXPECT_EQ(after.dataForKey(kKey), "first");

    ASSERT_TRUE(killedInChild([&] {
        auto disk = std::make_shared<FileDefaultsStore>(folder.path());
        disk->setBeforeRenameHook([&](const fs::path&) {
            if (disk->dataForKey(kKey) == "written")
                ::raise(SIGKILL);
            return true;
        });
        BackgroundDefaultsWriter writer(disk);
        writer.setData(kKey, "written");
        writer.flush();
        writer.setData(kKey, large);
        writer.flush();
    }));
    EXPECT_EQ(after.dataForKey(kKey), "written");

    // The store still takes writes after the killed one.
    BackgroundDefaultsWriter writer(std::make_shared<FileDefaultsStore>(folder.path()));
    writer.setData(kKey, "next");
    writer.flush();
    EXPECT_EQ(after.dataForKey(kKey), "next");
}

}  // namespace
}  // namespace quorvane
