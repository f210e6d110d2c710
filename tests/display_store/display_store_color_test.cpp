#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane::testing {
namespace {

class DisplayStoreColorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({studio, side});
        world.start();
    }

    DisplayStore& store() { return *world.store; }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
};

TEST_F(DisplayStoreColorTest, AnEditIsUndoableSavedWrittenPromptedAndJournalled) {
    store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.4; });

    auto expected = ColorAdjustment::neutral();
    expected.warmth = 0.4;
    EXPECT_EQ(store().colorAdjustments().at(rawIdentity(studio)), expected);
    EXPECT_EQ(world.savedPreferences().displayAdjustments.at(rawIdentity(studio)), expected);
    EXPECT_EQ(world.midRed(1), world.midRed(expected));
    EXPECT_EQ(store().statusMessage(), "색상 조정 적용됨");
    // Nothing was saved before, and that is what undo would restore.
    EXPECT_TRUE(store().recoverySnapshot(1)->canUndo);

    const auto& prompt = store().recentChangeRecoveryPrompt();
    ASSERT_TRUE(prompt.has_value());
    EXPECT_EQ(prompt->title, "방금 변경을 되돌릴 수 있어요");
    EXPECT_EQ(prompt->message, "Studio의 색상 조정 변경을 이전 Quorvane 색상값으로 되돌립니다.");
    ASSERT_EQ(prompt->targets.size(), 1u);
    EXPECT_EQ(prompt->targets[0].displayIdentityRawValue, rawIdentity(studio));

    const auto journal = world.savedJournal();
    ASSERT_EQ(journal.entries.size(), 1u);
    EXPECT_EQ(journal.entries[0].status, QuorvaneRecoveryJournalStatus::applied);
    EXPECT_EQ(journal.entries[0].actionTitle, "색상 조정");
    EXPECT_EQ(journal.entries[0].summary, prompt->message);
    EXPECT_EQ(journal.entries[0].detail, "요청한 Quorvane 화면 색감 변경을 안전하게 마쳤습니다.");
    EXPECT_EQ(journal.entries[0].targets[0].displayName, "Studio");
}

TEST_F(DisplayStoreColorTest, SoftwareBrightnessIsBoundAfterEveryEdit) {
    store().updateColorAdjustment(1,
                                  [](ColorAdjustment& value) { value.softwareBrightness = 0.05; });
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).softwareBrightness, 0.1);
    store().updateColorAdjustment(1,
                                  [](ColorAdjustment& value) { value.softwareBrightness = 2.0; });
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).softwareBrightness, 1.5);

    // A value saved elsewhere below the bound comes back bounded from an
    // edit that does not touch brightness.
    StoreWorld stored;
    auto preferences = QuorvanePreferences::defaults();
    auto dim = ColorAdjustment::neutral();
    dim.softwareBrightness = 0.05;
    preferences.displayAdjustments[rawIdentity(externalDisplay(1, "Studio", 1001))] = dim;
    stored.storePreferences(preferences);
    auto& other = stored.start();
    other.updateColorAdjustment(1, [](ColorAdjustment& value) { value.redGain = 1; });
    EXPECT_DOUBLE_EQ(other.colorAdjustment(1).softwareBrightness, 0.1);
}

TEST_F(DisplayStoreColorTest, ThePromptLivesEightSecondsFromItsOwnPublication) {
    store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.2; });
    world.scheduler->advance(seconds(5));
    store().updateColorAdjustment(2, [](ColorAdjustment& value) { value.warmth = 0.2; });
    const auto second = store().recentChangeRecoveryPrompt()->id;
    world.scheduler->advance(seconds(3.5));
    ASSERT_TRUE(store().recentChangeRecoveryPrompt().has_value());
    EXPECT_EQ(store().recentChangeRecoveryPrompt()->id, second);
    world.scheduler->advance(seconds(4.4));
    ASSERT_TRUE(store().recentChangeRecoveryPrompt().has_value());
    world.scheduler->advance(seconds(0.1));
    EXPECT_FALSE(store().recentChangeRecoveryPrompt().has_value());
    // The journal keeps both entries.
    EXPECT_EQ(store().recoveryJournal().entries.size(), 2u);
}

TEST_F(DisplayStoreColorTest, AFailedWriteKeepsTheValueButOffersNoUndoPrompt) {
    world.gamma->setFailure(1, DisplayControlError::coreGraphics(1001));
    store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = -0.5; });
    EXPECT_EQ(store().statusMessage(), "X11 오류: 1001");
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).warmth, -0.5);
    EXPECT_FALSE(store().recentChangeRecoveryPrompt().has_value());
    EXPECT_TRUE(store().recoveryJournal().entries.empty());

    // The signature was not recorded, so the next start-up re-apply writes.
    world.gamma->setFailure(1, std::nullopt);
    store().refresh(DisplayStore::RefreshIntent::startup);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(world.midRed(1), world.midRed(store().colorAdjustment(1)));
}

TEST_F(DisplayStoreColorTest, AnEditForAGoneDisplayOnlyReports) {
    const auto writes = world.defaults->writeCount();
    store().updateColorAdjustment(99, [](ColorAdjustment& value) { value.warmth = 1; });
    EXPECT_EQ(store().statusMessage(), "디스플레이 99를 찾지 못했습니다.");
    EXPECT_EQ(world.defaults->writeCount(), writes);
    EXPECT_FALSE(store().recoverySnapshot(1)->canUndo);
}

TEST(DisplayStoreAliasTest, ASerialLessMonitorKeepsOneAliasForItsIdentity) {
    StoreWorld world;
    auto moved = externalDisplay(1, "Plain", 0);
    world.connect({moved});
    auto& store = world.start();
    store.setDisplayAlias("Old place", 1);
    const auto firstKey = store.displayAliasesByKey().begin()->first;

    moved.bounds.x = 500;
    world.connect({moved});
    store.refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    store.setDisplayAlias("New place", 1);
    ASSERT_EQ(store.displayAliasesByKey().size(), 1u);
    EXPECT_NE(store.displayAliasesByKey().begin()->first, firstKey);
    EXPECT_EQ(world.savedPreferences().displayAliasesByKey.size(), 1u);
}

}  // namespace
}  // namespace quorvane::testing
