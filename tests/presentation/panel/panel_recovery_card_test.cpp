#include "presentation/panel/panel_recovery_card.hpp"

#include <gtest/gtest.h>

#include "platform/simulated/manual_scheduler.hpp"

namespace quorvane {
namespace {

TEST(PanelRecoveryCard, ADoublePressRecoversOnceAndOnlyAfterConfirmation) {
    ManualScheduler scheduler;
    QuorvaneDestructiveConfirmationCoordinator coordinator(scheduler);
    int recoveries = 0;
    int replaced = 0;
    requestPanelEmergencyRecovery(coordinator, [&] { ++recoveries; });
    const std::string firstID = coordinator.pending()->id;
    requestPanelEmergencyRecovery(coordinator, [&] { ++replaced; });
    EXPECT_EQ(coordinator.pending()->id, firstID);
    EXPECT_EQ(coordinator.pending()->style, QuorvaneDestructiveConfirmationStyle::destructive);
    EXPECT_EQ(coordinator.pending()->copy.confirmButtonTitle, "비상 복구 실행");
    EXPECT_EQ(recoveries, 0);
    coordinator.confirmPending();
    coordinator.confirmPending();
    EXPECT_EQ(recoveries, 1);
    EXPECT_EQ(replaced, 0);
}

TEST(PanelRecoveryCard, CancellingDropsTheRequestWithoutRecovering) {
    ManualScheduler scheduler;
    QuorvaneDestructiveConfirmationCoordinator coordinator(scheduler);
    int recoveries = 0;
    requestPanelEmergencyRecovery(coordinator, [&] { ++recoveries; });
    coordinator.setConfirmationPresented(false);
    scheduler.runUntilIdle();
    EXPECT_FALSE(coordinator.pending().has_value());
    // The next press asks again.
    requestPanelEmergencyRecovery(coordinator, [&] { ++recoveries; });
    EXPECT_TRUE(coordinator.confirmationPresented());
    EXPECT_EQ(recoveries, 0);
}

TEST(PanelRecoveryCard, TheTooltipNamesTheCurrentEmergencyKey) {
    EXPECT_EQ(panelRecoveryHelpText(HotKeyCombination::defaultEmergencyRecovery()),
              "모든 연결된 화면을 안전한 밝기와 기본 화면 색감으로 되돌립니다. 단축키: "
              "Super+Shift+L");
    const HotKeyCombination changed(15, "R", {HotKeyModifier::shift, HotKeyModifier::control});
    EXPECT_EQ(panelRecoveryHelpText(changed),
              "모든 연결된 화면을 안전한 밝기와 기본 화면 색감으로 되돌립니다. 단축키: "
              "Ctrl+Shift+R");
}

}  // namespace
}  // namespace quorvane
