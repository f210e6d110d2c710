// The application's side of the shared records on the real file system: a
// save made from an older read puts only its own changes on the record the
// file holds, and one made from the current record writes its bytes as
// they are.
#include "services/persistence/merging_defaults_store.hpp"

#include <gtest/gtest.h>

#include <atomic>

#include "app/composition/linux_display_store_factory.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

using testing::TemporaryFolder;

const std::string kKey = std::string(kDefaultsDomain) + ".preferences.v1";
const std::string kOtherKey = std::string(kDefaultsDomain) + ".other.v1";

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

}  // namespace
}  // namespace quorvane
