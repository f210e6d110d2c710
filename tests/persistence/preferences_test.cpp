#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "persistence/sample_preferences.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/merging_defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"

namespace quorvane {
namespace {

QuorvanePreferences decode(const std::string& json) {
    return QuorvanePreferences::decoded(json);
}

bool decodes(const std::string& json) {
    try {
        decode(json);
        return true;
    } catch (const JsonDecodeError&) {
        return false;
    }
}

TEST(Preferences, MissingOrNullKeysTakeTheirDefaults) {
    EXPECT_EQ(decode("{}"), QuorvanePreferences::defaults());
    EXPECT_EQ(QuorvanePreferences{}, QuorvanePreferences::defaults());
    const auto record = decode(
        R"({"autoApplyEnabled":null,"urlPresetAutomationEnabled":null,"textSize":null,)"
        R"("displayAdjustments":null,"lastSelectedDisplayIdentity":null,"sceneHotKeyBindings":null,)"
        R"("emergencyRecoveryHotKeyCombination":null,"unknownKey":[1,2,3]})");
    EXPECT_EQ(record, QuorvanePreferences::defaults());
    EXPECT_TRUE(record.autoApplyEnabled);
    EXPECT_FALSE(record.urlPresetAutomationEnabled);
}

TEST(Preferences, AnyWrongValueFailsTheWholeDecode) {
    const std::vector<std::string> broken = {
        R"([])",
        R"("text")",
        R"({"schemaVersion":"1"})",
        R"({"autoApplyEnabled":1})",
        R"({"textSize":"huge"})",
        R"({"textSize":"Large"})",
        R"({"displayAdjustments":[]})",
        R"({"displayAdjustments":{"x":{"contrast":1}}})",
        R"({"lastSelectedDisplayIdentity":5})",
        R"({"customPresets":[{"id":"p","name":"n","kind":"custom"}]})",
        R"({"customDisplayGroups":[{"name":"no id"}]})",
        R"({"sceneHotKeyBindings":[{"id":"x","sceneID":"s",)"
        R"("combination":{"keyCode":1,"keyLabel":"1","modifiers":[]}}]})",
        R"({"emergencyRecoveryHotKeyCombination":{"keyCode":37,"keyLabel":"L"}})",
        R"({"emergencyRecoveryHotKeyCombination":{"keyCode":37,"keyLabel":"L","modifiers":["hyper"]}})",
    };
    for (const auto& json : broken)
        EXPECT_FALSE(decodes(json)) << json;
}

TEST(Preferences, SavedBindingsAreMergedWithTheDefaults) {
    const auto defaults = SceneHotKeyBinding::defaultBindings();
    ASSERT_GE(defaults.size(), 2u);
    SceneHotKeyBinding disabledSecond = defaults[1];
    disabledSecond.enabled = false;
    SceneHotKeyBinding own{"own", "S-9", true, HotKeyCombination(7, "X", {HotKeyModifier::shift})};

    QuorvanePreferences stored;
    stored.sceneHotKeyBindings = {own, disabledSecond};
    const auto decoded = decode(*stored.encoded());

    auto expected = defaults;
    expected[1] = disabledSecond;
    expected.push_back(own);
    EXPECT_EQ(decoded.sceneHotKeyBindings, expected);
}

TEST(Preferences, RoundTripLeavesOutAbsentOptionals) {
    const auto sample = samplePreferences();
    EXPECT_EQ(decode(*sample.encoded()), sample);

    EXPECT_EQ(decode(R"({"schemaVersion":-3})").schemaVersion, -3);  // kept as found
    const auto text = *QuorvanePreferences::defaults().encoded();
    EXPECT_EQ(text.find("lastSelectedDisplayIdentity"), std::string::npos);
}

class PreferencesStoreTest : public ::testing::Test {
  protected:
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    UserDefaultsPreferencesStore store{defaults};
    const std::string key = "org.quorvane.Quorvane.preferences.v1";
};

TEST_F(PreferencesStoreTest, NothingStoredGivesDefaultsThenSaveThenLoad) {
    EXPECT_EQ(store.loadResult(),
              (PreferencesLoadResult{QuorvanePreferences::defaults(), false, {}, false}));
    EXPECT_EQ(defaults->writeCount(), 0u);
    EXPECT_TRUE(store.save(samplePreferences()).succeeded());
    EXPECT_EQ(store.loadResult(), (PreferencesLoadResult{samplePreferences(), false, {}, false}));
}

TEST_F(PreferencesStoreTest, CorruptBlobGivesDefaultsWithNoticeAndStaysStored) {
    for (const std::string& blob : {std::string(R"({"textSize":"huge"})"), std::string("{"),
                                    std::string(5000, '{'), std::string("\xff\xfe")}) {
        defaults->setData(key, blob);
        const auto writes = defaults->writeCount();
        const auto loaded = store.loadResult();
        EXPECT_TRUE(loaded.recoveredFromCorruption);
        EXPECT_EQ(loaded.preferences, QuorvanePreferences::defaults());
        EXPECT_EQ(loaded.message, "저장된 설정을 읽지 못해 기본값으로 복구했습니다.");
        EXPECT_EQ(defaults->dataForKey(key), blob);
        EXPECT_EQ(defaults->writeCount(), writes);
    }
}

TEST_F(PreferencesStoreTest, UnencodableRecordLeavesThePreviousBlobAndSaysSo) {
    ASSERT_TRUE(store.save(samplePreferences()).succeeded());
    const auto before = defaults->dataForKey(key);
    auto broken = samplePreferences();
    broken.displayAdjustments["x"].contrast = std::numeric_limits<double>::quiet_NaN();
    const auto outcome = store.save(broken);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, DefaultsStoreError::Kind::notEncodable);
    EXPECT_EQ(defaults->dataForKey(key), before);
}

TEST_F(PreferencesStoreTest, AFailedWriteIsReportedNotSwallowed) {
    defaults->setFailsWrites(true);
    const auto outcome = store.save(samplePreferences());
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, DefaultsStoreError::Kind::writeFailed);
    EXPECT_EQ(defaults->dataForKey(key), std::nullopt);
}

TEST_F(PreferencesStoreTest, TheFirstSaveOverAnUndecodableRecordKeepsItAsideOnce) {
    // One value a newer version could write; the custom preset beside it
    // must survive somewhere.
    const std::string newer =
        R"({"textSize":"gigantic","customPresets":[{"id":"mine","name":"Mine"}]})";
    defaults->setData(key, newer);
    EXPECT_EQ(store.loadResult().message, "저장된 설정을 읽지 못해 기본값으로 복구했습니다.");

    const auto first = store.save(samplePreferences());
    ASSERT_TRUE(first.succeeded());
    ASSERT_TRUE(first.keptCopy);
    EXPECT_EQ(defaults->contents().at(*first.keptCopy), newer);
    EXPECT_EQ(store.loadResult(), (PreferencesLoadResult{samplePreferences(), false, {}, false}));
    EXPECT_NE(UserDefaultsPreferencesStore::keptCopyNotice(*first.keptCopy).find(*first.keptCopy),
              std::string::npos);

    const auto second = store.save(QuorvanePreferences::defaults());
    EXPECT_TRUE(second.succeeded());
    EXPECT_EQ(second.keptCopy, std::nullopt);
    EXPECT_EQ(defaults->contents().size(), 2u);
}

// Over a store whose save keeps the record aside itself (the command
// line's, which merges), the save still names that copy.
TEST_F(PreferencesStoreTest, ASaveNamesTheCopyItsStoreKeptAside) {
    UserDefaultsPreferencesStore merging(std::make_shared<MergingDefaultsStore>(
        defaults, MergingDefaultsStore::Merges{{key, RecordMerge::preferencesBytes}}));
    defaults->setData(key, "{broken");
    merging.loadResult();
    const auto saved = merging.save(samplePreferences());
    ASSERT_TRUE(saved.keptCopy);
    EXPECT_EQ(defaults->contents().at(*saved.keptCopy), "{broken");
}

// A caller that wants only the requests behind the record gets those a
// full load names, and they stand as the last load's.
TEST_F(PreferencesStoreTest, LoadingOnlyTheRequestsNamesThoseOfAFullLoad) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "quorvane-preferences-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    UserDefaultsPreferencesStore onDisk(std::make_shared<FileDefaultsStore>(folder));
    TouchedRecordParts touched;
    touched.touch("displayAdjustments", "a",
                  std::chrono::system_clock::now() - std::chrono::seconds(5));
    ASSERT_TRUE(onDisk.save(samplePreferences(), touched).succeeded());

    const auto requests = onDisk.loadRequests();
    EXPECT_EQ(requests.askedAt("displayAdjustments", "a"),
              touched.askedAt("displayAdjustments", "a"));
    EXPECT_EQ(onDisk.lastLoadRequests(), requests);
    onDisk.loadResult();
    EXPECT_EQ(onDisk.lastLoadRequests(), requests);
    std::filesystem::remove_all(folder);
}

TEST_F(PreferencesStoreTest, NoCopyWhenTheUndecodableRecordWasReplacedInTheMeantime) {
    defaults->setData(key, "{broken");
    store.loadResult();
    // Another process saved a good record before this one saves.
    defaults->setData(key, *samplePreferences().encoded());
    const auto outcome = store.save(QuorvanePreferences::defaults());
    EXPECT_TRUE(outcome.succeeded());
    EXPECT_EQ(outcome.keptCopy, std::nullopt);
    EXPECT_EQ(defaults->contents().size(), 1u);
}

TEST_F(PreferencesStoreTest, AnUndecodableRecordIsNeverReplacedWhenItsCopyFails) {
    defaults->setData(key, "{broken");
    store.loadResult();
    defaults->setFailsWrites(true);
    EXPECT_FALSE(store.save(samplePreferences()).succeeded());
    defaults->setFailsWrites(false);
    EXPECT_EQ(defaults->dataForKey(key), "{broken");
    // The next save still keeps the copy first.
    EXPECT_TRUE(store.save(samplePreferences()).keptCopy);
}

TEST_F(PreferencesStoreTest, AnUnreadableRecordIsAnErrorNotAbsentAndIsNeverReplaced) {
    defaults->setUnreadable(key);
    const auto loaded = store.loadResult();
    EXPECT_TRUE(loaded.recordUnreadable);
    EXPECT_EQ(loaded.preferences, QuorvanePreferences::defaults());
    ASSERT_TRUE(loaded.message);
    EXPECT_NE(loaded.message->find("읽을 수 없습니다"), std::string::npos);

    const auto outcome = store.save(samplePreferences());
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->kind, DefaultsStoreError::Kind::unreadable);
    EXPECT_EQ(defaults->writeCount(), 0u);
}

}  // namespace
}  // namespace quorvane
