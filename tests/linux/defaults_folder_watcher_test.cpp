// The watch on the defaults folder: a record renamed into place or written
// in place is told once per take; temporary files, other names and removals
// are not.
#include "platform/linux/defaults_folder_watcher.hpp"

#include <gtest/gtest.h>
#include <poll.h>

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

TEST(DefaultsFolderWatcher, TellsWrittenRecordsAndNothingElse) {
    TemporaryFolder folder;
    const std::string name = FileDefaultsStore::fileNameForKey(kKey);
    DefaultsFolderWatcher watcher(folder.path(), {name});
    ASSERT_TRUE(watcher.watching());
    EXPECT_TRUE(watcher.takeChangedFiles().empty());

    // An atomic save: a temporary file renamed over the record.
    FileDefaultsStore disk(folder.path());
    ASSERT_TRUE(disk.setData(kKey, "{}").succeeded());
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChangedFiles(), std::set<std::string>{name});

    // Another file, then a copy written in place.
    std::ofstream(folder / "unrelated.json") << "{}";
    ASSERT_TRUE(readable(watcher));
    EXPECT_TRUE(watcher.takeChangedFiles().empty());
    std::ofstream(folder / name, std::ios::trunc) << R"({"textSize":"large"})";
    ASSERT_TRUE(readable(watcher));
    EXPECT_EQ(watcher.takeChangedFiles(), std::set<std::string>{name});

    std::filesystem::remove(folder / name);
    EXPECT_TRUE(watcher.takeChangedFiles().empty());
}

TEST(DefaultsFolderWatcher, AMissingFolderIsNotWatched) {
    TemporaryFolder folder;
    DefaultsFolderWatcher watcher(folder / "missing", {"x.json"});
    EXPECT_FALSE(watcher.watching());
    EXPECT_EQ(watcher.descriptor(), -1);
    EXPECT_TRUE(watcher.takeChangedFiles().empty());
}

}  // namespace
}  // namespace quorvane
