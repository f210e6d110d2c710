#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"

namespace quorvane::testing {
namespace {

TEST(DisplayStoreRecoveryTest, NoDisplayIsBlocked) {
    StoreWorld world;
    world.connect({});
    auto& store = world.start();
    EXPECT_FALSE(store.recoverDisplaysToSafeState());
    EXPECT_EQ(store.statusMessage(), "활성 디스플레이를 찾지 못했습니다.");
    const auto entry = world.savedJournal().entries.at(0);
    EXPECT_EQ(entry.status, QuorvaneRecoveryJournalStatus::blocked);
    EXPECT_EQ(entry.actionTitle, "비상 복구");
    EXPECT_EQ(entry.detail, "복구할 활성 화면을 찾지 못했습니다.");
    EXPECT_TRUE(entry.targets.empty());
}

TEST(DisplayStoreRecoveryTest, AFailingBrightnessPathMakesThePartialEntry) {
    StoreWorld world;
    world.connect({builtinDisplay(1)});
    world.brightness->setValue(1, 0.9);
    world.brightness->setWriteFailure(DisplayControlError::ioKit(-536870201));
    auto& store = world.start();
    store.updateColorAdjustment(1, [](ColorAdjustment& value) { value.gamma = 2.4; });

    EXPECT_TRUE(store.recoverDisplaysToSafeState());
    EXPECT_EQ(store.statusMessage(),
              "비상 복구 완료: 화면 색감 1개, 밝기 조절 경로 없음 · Built-in Display 모니터 밝기 "
              "복구 실패");
    EXPECT_EQ(store.colorAdjustment(1), ColorAdjustment::neutral());
    EXPECT_EQ(world.savedPreferences().displayAdjustments.begin()->second,
              ColorAdjustment::neutral());
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    EXPECT_FALSE(store.recentChangeRecoveryPrompt().has_value());
    EXPECT_TRUE(store.recoverySnapshot(1)->canUndo);
    const auto& entry = store.recoveryJournal().entries.front();
    EXPECT_EQ(entry.status, QuorvaneRecoveryJournalStatus::partial);
    EXPECT_EQ(entry.summary, store.statusMessage());
    EXPECT_EQ(entry.targets.size(), 1u);
}

TEST(DisplayStoreRecoveryTest, BrightnessGoesThroughEveryPathTheDisplayOffers) {
    StoreWorld world;
    world.connect({builtinDisplay(1), externalDisplay(2, "Studio", 1001, 1920),
                   externalDisplay(3, "Wide", 3003, 3840)});
    world.brightness->setValue(1, 0.9);
    auto& store = world.start();
    // Two monitors have reported their brightness range through earlier writes.
    store.setDDCControl(DDCVCPCode::brightness, 80, 2, DDCWriteRequestKind::discreteAction);
    world.writeQueue->answerApplied(80, 100);
    store.setDDCControl(DDCVCPCode::brightness, 200, 3, DDCWriteRequestKind::discreteAction);
    world.writeQueue->answerApplied(200, 255);
    EXPECT_EQ(store.statusMessage(), "모니터 밝기 적용됨: 78%");

    EXPECT_TRUE(store.recoverDisplaysToSafeState());
    EXPECT_EQ(world.brightness->value(1), 0.5);
    ASSERT_EQ(world.writeQueue->held.size(), 2u);
    EXPECT_EQ(world.writeQueue->held[0].first.rawValue, 50);
    EXPECT_EQ(world.writeQueue->held[1].first.rawValue, 128);
    EXPECT_EQ(world.writeQueue->held[1].first.kind, DDCWriteRequestKind::emergencyRecovery);
    EXPECT_EQ(store.statusMessage(),
              "비상 복구 완료: 화면 색감 3개, 시스템 밝기 1개, 모니터 밝기 2개 요청");
    EXPECT_EQ(store.recoveryJournal().entries.front().status,
              QuorvaneRecoveryJournalStatus::applied);
    EXPECT_TRUE(store.isDDCBusy(2));
}

TEST(DisplayStoreRecoveryTest, ThePanelGetsSafeBrightnessEvenBeforeTheFullReadIsIn) {
    StoreWorld world;
    world.connect({builtinDisplay(1)});
    world.brightness->setValue(1, 0.9);
    auto& store = world.startHoldingBackground();
    // The quick start-up list carries no brightness; recovery asks the
    // system instead of leaving the panel as it is.
    ASSERT_FALSE(store.displays().at(0).hardwareBrightness.has_value());
    EXPECT_TRUE(store.recoverDisplaysToSafeState());
    EXPECT_EQ(world.brightness->value(1), 0.5);
}

// Twins share one saved colour and one undo step: the second twin's safe
// colour must not become the value that undo brings back.
TEST(DisplayStoreRecoveryTest, UndoAfterwardsBringsBackEachDisplaysColourFromBefore) {
    StoreWorld world;
    auto displays = identicalTwins(2, 3);
    displays.push_back(externalDisplay(1, "Studio", 1001, 3840));
    world.connect(displays);
    auto& store = world.start();
    store.updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.6; });
    store.updateColorAdjustment(2, [](ColorAdjustment& value) { value.gamma = 1.4; });
    const auto studio = store.colorAdjustment(1);
    const auto twins = store.colorAdjustment(2);
    ASSERT_TRUE(store.recoverDisplaysToSafeState());
    ASSERT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));

    store.undoLastSoftwareAdjustment(1);
    store.undoLastSoftwareAdjustment(2);
    EXPECT_EQ(world.midRed(1), world.midRed(studio));
    EXPECT_EQ(world.midRed(2), world.midRed(twins));
    EXPECT_EQ(world.midRed(3), world.midRed(twins));
    EXPECT_EQ(world.savedPreferences().displayAdjustments,
              (std::map<std::string, ColorAdjustment>{{rawIdentity(displays[2]), studio},
                                                      {rawIdentity(displays[0]), twins}}));
}

// Twins share one saved colour and one effect mode, and automatic apply leaves
// them alone: whichever twin brings the saved colour back or deletes it, both
// screens must follow, or one keeps a colour nothing saved.
TEST(DisplayStoreRecoveryTest, BothTwinsShowTheSavedColourWhicheverTwinChangedIt) {
    StoreWorld world;
    world.connect(identicalTwins(1, 2));
    auto& store = world.start();
    store.updateColorAdjustment(1, [](ColorAdjustment& value) { value.gamma = 1.4; });
    const auto saved = store.colorAdjustment(1);
    const auto neutral = world.midRed(ColorAdjustment::neutral());

    store.suspendQuorvaneEffect(2);
    store.resumeQuorvaneEffect(1);
    EXPECT_EQ(world.midRed(2), world.midRed(saved));
    store.enterStockComparison(1);
    store.exitStockComparison(2);
    EXPECT_EQ(world.midRed(1), world.midRed(saved));

    store.clearSavedAdjustment(2);
    EXPECT_EQ(world.midRed(1), neutral);
    store.undoRecentChangeRecoveryPrompt(store.recentChangeRecoveryPrompt()->id);
    EXPECT_EQ(world.midRed(1), world.midRed(saved));
    EXPECT_EQ(world.midRed(2), world.midRed(saved));
}

}  // namespace
}  // namespace quorvane::testing
