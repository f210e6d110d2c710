#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"

namespace quorvane::testing {
namespace {

using Status = QuorvaneRecoveryJournalStatus;

class DisplayStoreUndoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({studio, side, wide});
        world.start();
        store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.6; });
        before = store().colorAdjustment(1);
    }

    DisplayStore& store() { return *world.store; }
    DisplayGroup group(std::vector<std::string> members) {
        return {"desk", "Desk", ItemKind::custom, std::move(members)};
    }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
    DisplaySnapshot wide = externalDisplay(3, "Wide", 3003, 3840);
    ColorAdjustment before;
};

TEST_F(DisplayStoreUndoTest, PromptUndoOfAGroupSceneNamesTheDisplayThatFailed) {
    const auto work = DisplayScene::builtIns().front();
    store().applyScene(work,
                       group({rawIdentity(wide), "gone", rawIdentity(studio), rawIdentity(side)}));
    EXPECT_EQ(store().statusMessage(), "씬 적용됨: Work (3개 디스플레이)");
    const auto prompt = *store().recentChangeRecoveryPrompt();
    ASSERT_EQ(prompt.targets.size(), 3u);
    EXPECT_EQ(prompt.targets[0].displayID, 3u);

    world.gamma->setFailure(2, DisplayControlError::coreGraphics(-7));
    EXPECT_FALSE(store().undoRecentChangeRecoveryPrompt(prompt.id));
    EXPECT_EQ(store().statusMessage(), "일부 변경만 되돌렸습니다: 실패 Side");
    EXPECT_EQ(store().colorAdjustment(1), before);
    EXPECT_EQ(world.midRed(1), world.midRed(before));
    EXPECT_FALSE(store().colorAdjustments().contains(rawIdentity(wide)));
    EXPECT_EQ(world.midRed(3), world.midRed(ColorAdjustment::neutral()));
    // The failed display keeps the scene's value and its undo step.
    EXPECT_EQ(store().colorAdjustment(2), *work.fallbackAdjustment);
    EXPECT_TRUE(store().recoverySnapshot(2)->canUndo);
    EXPECT_EQ(world.savedPreferences().displayAdjustments.size(), 2u);
    EXPECT_FALSE(store().recentChangeRecoveryPrompt().has_value());

    const auto entry = world.savedJournal().entries.front();
    EXPECT_EQ(entry.actionTitle, "되돌리기");
    EXPECT_EQ(entry.status, Status::partial);
    EXPECT_EQ(entry.summary, "일부 변경만 되돌렸습니다: 실패 Side");
    EXPECT_EQ(entry.detail, "일부 화면만 직전 Quorvane 색감 값으로 되돌렸습니다.");
    EXPECT_EQ(entry.targets.size(), 3u);

    // The dismissed prompt cannot undo again; the recovery section can.
    EXPECT_FALSE(store().undoRecentChangeRecoveryPrompt(prompt.id));
    EXPECT_EQ(store().statusMessage(), "이미 지난 되돌리기 요청입니다");
    world.gamma->setFailure(2, std::nullopt);
    store().undoLastSoftwareAdjustment(2);
    EXPECT_EQ(store().statusMessage(), "마지막 변경을 되돌려 저장 색상값을 삭제했습니다");
    EXPECT_EQ(store().recoveryJournal().entries.front().status, Status::undone);
    store().undoLastSoftwareAdjustment(2);
    EXPECT_EQ(store().statusMessage(), "되돌릴 Quorvane 색상 변경이 없습니다");
}

// A failed save shows in the status, but the journal entry of the same
// action keeps the action's own summary.
TEST_F(DisplayStoreUndoTest, AnEntryWrittenAfterAFailedSaveKeepsTheActionsSummary) {
    world.defaults->setFailsWrites(true);
    store().undoLastSoftwareAdjustment(1);
    EXPECT_EQ(store().statusMessage(),
              "설정을 저장하지 못했습니다: org.quorvane.Quorvane.preferences.v1");
    const auto& entry = store().recoveryJournal().entries.front();
    EXPECT_EQ(entry.status, Status::undone);
    EXPECT_EQ(entry.summary, "마지막 변경을 되돌려 저장 색상값을 삭제했습니다");
}

}  // namespace
}  // namespace quorvane::testing
