#include "presentation/shell/unsaved_changes_text.hpp"

#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_identity.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/record_merge.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {
namespace {

using testing::StoreWorld;
namespace Part = RecordMerge::PreferencesPart;

const std::string kPreferences = UserDefaultsPreferencesStore::standardStorageKey();
const DefaultsStoreError kLockHeld{
    DefaultsStoreError::Kind::lockHeld, "/home/u/.config/q/.lock", {}};
const DefaultsStoreError kNoSpace{DefaultsStoreError::Kind::noSpace, "/home/u/.config/q", {}};

class UnsavedChangesAtQuitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({testing::builtinDisplay(1), studio});
        auto preferences = QuorvanePreferences::defaults();
        preferences.customPresets = {
            {"p1", "Coding Dark", ColorAdjustment::neutral(), ItemKind::custom}};
        world.storePreferences(preferences);
        store = &world.start();
        store->setDisplayAlias("책상 모니터", 2);
    }

    DisplaySnapshot studio = testing::externalDisplay(2, "Studio", 55);
    StoreWorld world;
    DisplayStore* store = nullptr;
};

// Everything one reason lost is told on one line, in the windows' words:
// each display by its label (the alias first), a display not connected by
// its key, each setting by its title and each preset by its name, once
// each. Another reason gets its own line.
TEST_F(UnsavedChangesAtQuitTest, EachReasonIsOneLineNamingEveryDisplayAndSettingOnce) {
    const auto studioKey = DisplayIdentity::of(studio).rawValue;
    const auto builtinKey = DisplayIdentity::of(testing::builtinDisplay(1)).rawValue;
    const std::string goneKey = "vendor-9-model-9-serial-9-external";
    TouchedRecordParts touched;
    touched.touch(Part::textSize);
    touched.touch(Part::displayAdjustments, studioKey);
    touched.touch(Part::displayAdjustments, builtinKey);
    touched.touch(Part::displayAdjustments, goneKey);
    touched.touch(Part::displayAliasesByKey, studioKey);
    touched.touch(Part::brightnessSyncEnabled);
    touched.touch(Part::brightnessSyncGroupID);
    touched.touch(Part::customPresets, "p1");
    const std::vector<UnwrittenSave> unwritten = {
        {kPreferences, SaveOutcome::failed(kLockHeld), touched},
        {UserDefaultsRecoveryJournalStore::standardStorageKey(),
         SaveOutcome::failed(kLockHeld),
         {}},
        {UserDefaultsDDCCapabilityCacheStore::standardStorageKey(),
         SaveOutcome::failed(kNoSpace),
         {}},
        // The same change held once more (the record could not be read).
        {kPreferences, SaveOutcome::failed(kLockHeld), touched},
    };
    EXPECT_EQ(unsavedChangesAtQuit(unwritten, *store),
              "quorvane: 저장하지 못한 채 종료합니다: 모니터 밝기 동기화, 프리셋 Coding Dark, "
              "Built-in Display의 색상값, 책상 모니터의 색상값, " +
                  goneKey + "의 색상값, 책상 모니터의 별칭, 글자 크기, 복구 기록 — " +
                  kLockHeld.description() +
                  "\n"
                  "quorvane: 저장하지 못한 채 종료합니다: 모니터 기능 확인 결과 — " +
                  kNoSpace.description() + "\n");
}

// A display without a serial number keeps its alias under a key of its place
// on the desk, not its identity; the line still names it by its label.
TEST_F(UnsavedChangesAtQuitTest, ASerialLessDisplaysAliasIsNamedByItsLabel) {
    store->setDisplayAlias("서재 모니터", 2);
    store->setDisplayAlias("책상 모니터", 1);
    const auto descriptor = store->identityDescriptor(1);
    ASSERT_TRUE(descriptor);
    ASSERT_NE(descriptor->aliasKey, descriptor->rawIdentity);
    TouchedRecordParts touched;
    touched.touch(Part::displayAliasesByKey, descriptor->aliasKey);
    EXPECT_EQ(
        unsavedChangesAtQuit({{kPreferences, SaveOutcome::failed(kNoSpace), touched}}, *store),
        "quorvane: 저장하지 못한 채 종료합니다: 책상 모니터의 별칭 — " + kNoSpace.description() +
            "\n");
}

TEST_F(UnsavedChangesAtQuitTest, AResetIsEverySettingAndAnUnmarkedSaveTheRecord) {
    EXPECT_EQ(unsavedChangesAtQuit({}, *store), "");
    EXPECT_EQ(unsavedChangeNames(
                  {kPreferences, SaveOutcome::failed(kNoSpace), TouchedRecordParts::all()}, *store),
              std::vector<std::string>{"모든 설정"});
    EXPECT_EQ(unsavedChangeNames({kPreferences, SaveOutcome::failed(kNoSpace), {}}, *store),
              std::vector<std::string>{"설정"});
}

}  // namespace
}  // namespace quorvane
