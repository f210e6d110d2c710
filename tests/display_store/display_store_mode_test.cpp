#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"

namespace quorvane::testing {
namespace {

TEST(DisplayStoreModeTest, ARefusedSwitchReportsAndReadsNothingASwitchReadsTheModesAgain) {
    StoreWorld world;
    auto monitor = externalDisplay(1, "Studio", 1001);
    DisplayModeSnapshot wide{"2560x1440@59.95", 2, 2560, 1440, 2560, 1440, 59.95, false};
    monitor.modes.push_back(wide);
    world.connect({monitor});
    auto& store = world.start();
    const auto reads = world.displayManager->requests().size();

    world.displayManager->setModeFailure(DisplayControlError::coreGraphics(-3));
    store.setMode(wide, 1);
    EXPECT_EQ(store.statusMessage(), DisplayControlError::coreGraphics(-3).description());
    EXPECT_EQ(world.displayManager->requests().size(), reads);

    world.displayManager->setModeFailure(std::nullopt);
    auto chosen = wide;
    chosen.refreshRate = 59.951;  // as the list rounded it
    store.setMode(chosen, 1);
    EXPECT_EQ(store.statusMessage(), "화면 정보 새로 읽는 중…");
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.displays().at(0).currentMode->id, wide.id);
}

}  // namespace
}  // namespace quorvane::testing
