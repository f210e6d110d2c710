#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"

namespace quorvane::testing {
namespace {

using Mode = QuorvaneEffectRecoveryMode;

class DisplayStoreComparisonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({studio, side});
        world.start();
        store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.6; });
        saved = store().colorAdjustment(1);
    }

    DisplayStore& store() { return *world.store; }
    void failWrites(DisplayID id) {
        world.gamma->setFailure(id, DisplayControlError::coreGraphics(-7));
    }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
    ColorAdjustment saved;
};

TEST_F(DisplayStoreComparisonTest, TwoHoldersShareOneNeutralWriteAndTheLastRestores) {
    const auto first = store().beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    EXPECT_EQ(store().recoverySnapshot(1)->mode, Mode::comparingStock);
    EXPECT_EQ(store().statusMessage(), "누르는 동안 원래 색을 보여줍니다");

    // While others hold, nothing is written: a failing display does not matter.
    failWrites(1);
    const auto second = store().beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(second.has_value());
    store().endTemporaryNeutralComparison(first);
    store().endTemporaryNeutralComparison(first);
    EXPECT_EQ(store().statusMessage(), "누르는 동안 원래 색을 보여줍니다");

    // The last end cannot restore: the session waits for the next try.
    store().endTemporaryNeutralComparison(second);
    EXPECT_EQ(store().statusMessage(), "X11 오류: -7");
    EXPECT_EQ(store().recoverySnapshot(1)->mode, Mode::comparingStock);
    world.gamma->setFailure(1, std::nullopt);
    EXPECT_TRUE(store().cancelAllTemporaryNeutralComparisons());
    EXPECT_EQ(world.midRed(1), world.midRed(saved));
    EXPECT_EQ(store().recoverySnapshot(1)->mode, Mode::active);
    store().endTemporaryNeutralComparison(second);  // ended by the store: ignored
    EXPECT_EQ(world.midRed(1), world.midRed(saved));
}

// A change of the display's colour, an undo or a suspension made while a
// comparison runs shows its own colour: the comparison is over. Its token
// no longer runs, another holder starts a new neutral comparison instead of
// joining one whose neutral screen is gone, and a late end leaves the new
// state alone.
TEST_F(DisplayStoreComparisonTest, AChangeMadeDuringAComparisonEndsIt) {
    const auto held = store().beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(held.has_value());
    ASSERT_TRUE(store().temporaryNeutralComparisonRuns(*held));
    store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.3; });
    const ColorAdjustment changed = store().colorAdjustment(1);
    EXPECT_EQ(world.midRed(1), world.midRed(changed));
    EXPECT_EQ(store().recoverySnapshot(1)->mode, Mode::active);
    EXPECT_FALSE(store().temporaryNeutralComparisonRuns(*held));

    const auto again = store().beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    store().endTemporaryNeutralComparison(held);  // over already: ignored
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    EXPECT_TRUE(store().temporaryNeutralComparisonRuns(*again));

    // Suspended meanwhile: the late end does not bring the effect back.
    store().suspendQuorvaneEffect(1);
    EXPECT_FALSE(store().temporaryNeutralComparisonRuns(*again));
    store().endTemporaryNeutralComparison(again);
    EXPECT_EQ(store().recoverySnapshot(1)->mode, Mode::suspended);
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
}

TEST_F(DisplayStoreComparisonTest, ARefreshLeavesSuspendedAndComparedDisplaysAsTheyAre) {
    store().updateColorAdjustment(2, [](ColorAdjustment& value) { value.warmth = 0.6; });
    store().suspendQuorvaneEffect(1);
    store().enterStockComparison(2);

    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    EXPECT_EQ(world.midRed(2), world.midRed(ColorAdjustment::neutral()));
    EXPECT_EQ(store().recoverySnapshot(1)->mode, Mode::suspended);
    EXPECT_EQ(store().recoverySnapshot(2)->mode, Mode::comparingStock);
}

TEST_F(DisplayStoreComparisonTest, UnpluggingDuringAHoldEndsItWithoutWriting) {
    const auto first = store().beginTemporaryNeutralComparison(1);
    const auto second = store().beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(first && second);

    // The monitor comes back under another ID: a different display instance.
    auto replugged = studio;
    replugged.id = 7;
    world.connect({replugged, side});
    store().refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    EXPECT_EQ(store().statusMessage(),
              "비교하던 디스플레이 연결이 바뀌어 임시 비교를 종료했습니다");
    EXPECT_EQ(store().recoverySnapshot(7)->mode, Mode::active);

    store().endTemporaryNeutralComparison(first);
    store().endTemporaryNeutralComparison(second);
    EXPECT_FALSE(world.gamma->tables(7).has_value());
}

TEST_F(DisplayStoreComparisonTest, ResetAndImportChangeNothingWhileAComparisonCannotEnd) {
    store().setTextSize(QuorvaneTextSize::veryLarge);
    const auto journalBefore = world.savedJournal();
    const auto token = store().beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(token.has_value());
    failWrites(1);

    store().resetAllSettings();
    EXPECT_EQ(store().statusMessage(), "X11 오류: -7");
    auto draft = QuorvaneSettingsImportDraft::of(QuorvanePreferences{});
    store().confirmSettingsImport(draft, QuorvaneSettingsImportMode::globalOnly, {}, false);
    EXPECT_EQ(store().statusMessage(), "X11 오류: -7");
    EXPECT_EQ(world.savedPreferences().textSize, QuorvaneTextSize::veryLarge);
    EXPECT_EQ(store().colorAdjustment(1), saved);
    EXPECT_TRUE(store().recentChangeRecoveryPrompt().has_value());

    world.gamma->setFailure(1, std::nullopt);
    store().resetAllSettings();
    EXPECT_EQ(store().statusMessage(), "모든 Quorvane 설정을 초기화했습니다");
    EXPECT_EQ(world.savedPreferences(), QuorvanePreferences{});
    EXPECT_FALSE(store().selectedDisplayID().has_value());
    EXPECT_FALSE(store().recentChangeRecoveryPrompt().has_value());
    EXPECT_FALSE(store().recoverySnapshot(1)->canUndo);
    // The system's own tables are back; the journal neither lost nor gained.
    EXPECT_FALSE(world.gamma->tables(1).has_value());
    EXPECT_EQ(world.savedJournal(), journalBefore);
}

}  // namespace
}  // namespace quorvane::testing
