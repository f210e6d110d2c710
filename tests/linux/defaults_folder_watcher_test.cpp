// The watch on the defaults folder: a record renamed into place or written
// in place is told as written once per take, one deleted or moved away as
// removed; temporary files and other names are not told. The watch
// outlives the folder being removed and made again.
#include "platform/linux/defaults_folder_watcher.hpp"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>

#include <cstdio>
#include <fstream>

#include "services/persistence/defaults_store.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

using testing::TemporaryFolder;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";

bool readable(const DefaultsFolderWatcher& watcher) {
    pollfd entry{watcher.descriptor(), POLLIN, 0};
    return ::poll(&entry, 1, 10'000) > 0;
}

using Changes = DefaultsFolderWatcher::Changes;

TEST(DefaultsFolderWatcher, TellsWrittenAndRemovedRecordsAndNothingElse) {
    TemporaryFolder folder;
    const std::string name = FileDefaultsStore::fileNameForKey(kKey);
    DefaultsFolderWatcher watcher(folder.path(), {name});
    ASSERT_TRUE(watcher.watching());
    EXPECT_TRUE(watcher.takeChanges().empty());

    // An atomic save: a temporary file renamed over the record.
    FileDefaultsStore disk(folder.path());
    ASSERT_TRUE(disk.setData(kKey, "{}").succeeded());
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChanges(), (Changes{{name}, {}}));
    // A save over it exchanges the two names: the record's is moved in,
    // then out (under the other name), and is still there.
    std::ofstream(folder / "exchanged") << R"({"textSize":"small"})";
    ASSERT_TRUE(readable(watcher));
    ASSERT_TRUE(watcher.takeChanges().empty());
    ASSERT_EQ(::renameat2(AT_FDCWD, (folder / "exchanged").c_str(), AT_FDCWD,
                          (folder / name).c_str(), RENAME_EXCHANGE),
              0);
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChanges(), (Changes{{name}, {}}));

    // Another file, then a copy written in place.
    std::ofstream(folder / "unrelated.json") << "{}";
    ASSERT_TRUE(readable(watcher));
    EXPECT_TRUE(watcher.takeChanges().empty());
    std::ofstream(folder / name, std::ios::trunc) << R"({"textSize":"large"})";
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChanges(), (Changes{{name}, {}}));

    std::filesystem::remove(folder / "unrelated.json");
    std::filesystem::remove(folder / name);
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChanges(), (Changes{{}, {name}}));
}

// "rm -rf" of the settings folder: its records are told removed, and once
// it is made again (by another process's save) the record written into it
// is told as before. A folder missing when the watch starts, levels deep,
// is watched alike once it is made.
TEST(DefaultsFolderWatcher, TheWatchOutlivesTheFolderRemovedAndMadeAgain) {
    TemporaryFolder home;
    const auto settings = home / "config" / "quorvane";
    const std::string name = FileDefaultsStore::fileNameForKey(kKey);
    DefaultsFolderWatcher watcher(settings, {name});
    ASSERT_TRUE(watcher.watching());
    EXPECT_TRUE(watcher.takeChanges().empty());

    FileDefaultsStore disk(settings);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(disk.setData(kKey, R"({"textSize":"large"})").succeeded());
        ASSERT_TRUE(readable(watcher));
        // Everything is read once the folder is there: a record may have
        // come with it before the watch did.
        Changes changes;
        while (changes.written.empty() && readable(watcher))
            changes = watcher.takeChanges();
        EXPECT_EQ(changes, (Changes{{name}, {}})) << "round " << round;
        std::filesystem::remove_all(settings);
        ASSERT_TRUE(readable(watcher));
        EXPECT_EQ(watcher.takeChanges(), (Changes{{}, {name}})) << "round " << round;
    }
}

// A restore script swaps the whole folder for a backup before the watch
// reads anything: the folder's removal and the backup renamed into its place
// arrive in one take, and the record is told as written only, never also as
// removed (which would reset it a moment later).
TEST(DefaultsFolderWatcher, AFolderSwappedForABackupInOneTakeIsAWrite) {
    TemporaryFolder home;
    const auto settings = home / "quorvane";
    const auto backup = home / "quorvane.bak";
    const std::string name = FileDefaultsStore::fileNameForKey(kKey);
    ASSERT_TRUE(FileDefaultsStore(settings).setData(kKey, "{}").succeeded());
    ASSERT_TRUE(FileDefaultsStore(backup).setData(kKey, R"({"textSize":"large"})").succeeded());
    DefaultsFolderWatcher watcher(settings, {name});
    ASSERT_TRUE(watcher.watching());

    std::filesystem::remove_all(settings);
    std::filesystem::rename(backup, settings);
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChanges(), (Changes{{name}, {}}));
}

}  // namespace
}  // namespace quorvane
