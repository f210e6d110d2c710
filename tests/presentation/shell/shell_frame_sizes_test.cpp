#include "presentation/shell/shell_frame_sizes.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(ShellFrameSizes, AMidSizedScreenLeavesRoomForTheDesktopsPanels) {
    EXPECT_EQ(menuPanelFrameSize(QuorvaneTextSize::large, 900), (FrameSize{390, 650}));
    EXPECT_EQ(settingsWindowFrameSize(QuorvaneTextSize::large, 900), (FrameSize{700, 700}));
    // Below the cap the screen decides: 700 - 96 and 700 - 120.
    EXPECT_EQ(menuPanelFrameSize(QuorvaneTextSize::extraLarge, 700), (FrameSize{440, 604}));
    EXPECT_EQ(settingsWindowFrameSize(QuorvaneTextSize::extraLarge, 700), (FrameSize{760, 580}));
}

TEST(ShellFrameSizes, ASmallScreenStillGetsTheMinimumHeight) {
    EXPECT_EQ(menuPanelFrameSize(QuorvaneTextSize::standard, 500), (FrameSize{350, 460}));
    EXPECT_EQ(settingsWindowFrameSize(QuorvaneTextSize::standard, 500), (FrameSize{640, 540}));
}

TEST(ShellFrameSizes, ATallScreenStopsAtTheTextSizesCap) {
    EXPECT_EQ(menuPanelFrameSize(QuorvaneTextSize::veryLarge, 2000), (FrameSize{500, 820}));
    EXPECT_EQ(settingsWindowFrameSize(QuorvaneTextSize::veryLarge, 2000), (FrameSize{840, 840}));
}

TEST(ShellFrameSizes, WithoutAScreenTheCapIsTakenAsTheScreenHeight) {
    EXPECT_EQ(menuPanelFrameSize(QuorvaneTextSize::standard, std::nullopt), (FrameSize{350, 484}));
    EXPECT_EQ(settingsWindowFrameSize(QuorvaneTextSize::standard, std::nullopt),
              (FrameSize{640, 540}));
}

}  // namespace
}  // namespace quorvane
