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

TEST(ShellFrameSizes, ASizeIsCutToWhatTheWorkAreaLeavesAroundTheFrame) {
    constexpr FrameMargins kTitleBar{1, 21, 1, 1};
    // Twice the scale on a 1920x1080 screen: the main window's smallest size
    // and the settings window's floor lose what the frame takes.
    EXPECT_EQ(fittedInside({820, 560}, kTitleBar, {960, 540}), (FrameSize{820, 518}));
    EXPECT_EQ(fittedInside(settingsWindowFrameSize(QuorvaneTextSize::standard, 540), kTitleBar,
                           {960, 540}),
              (FrameSize{640, 518}));
    // A narrow screen cuts the width too; a size that fits stays.
    EXPECT_EQ(fittedInside({840, 620}, kTitleBar, {640, 360}), (FrameSize{638, 338}));
    EXPECT_EQ(fittedInside({500, 820}, kTitleBar, {1920, 1052}), (FrameSize{500, 820}));
}

TEST(ShellFrameSizes, AFrameToldSmallerThanItsWindowOnAnySideIsNoFrame) {
    EXPECT_TRUE(surroundsItsWindow({1, 13, 1, 1}));
    EXPECT_TRUE(surroundsItsWindow({}));
    // Told as the window manager takes the window in: a frame of 0 x 0 at
    // the window's place, or one that a side of the window passes.
    EXPECT_FALSE(surroundsItsWindow({0, 0, -638, -347}));
    EXPECT_FALSE(surroundsItsWindow({-1, 13, 1, 1}));
    EXPECT_FALSE(surroundsItsWindow({1, -13, 1, 1}));
}

TEST(ShellFrameSizes, AWindowManagersSizeStepsPassThroughTheSizeAndTheSmallestSizeAtIt) {
    // At one and a half the steps are two device pixels. At its smallest
    // size (495 device pixels wide, 342 high) the steps start there.
    EXPECT_EQ(sizeStepBase({330, 228}, {330, 228}, 1.5), (FrameSize{330, 228}));
    // 930 device pixels high over a smallest 693: from 692 (461), so the
    // window keeps its height; 929 (619) is reached from 693 itself.
    EXPECT_EQ(sizeStepBase({820, 462}, {840, 620}, 1.5), (FrameSize{820, 461}));
    EXPECT_EQ(sizeStepBase({820, 462}, {840, 619}, 1.5), (FrameSize{820, 462}));
    // A size one or two above a multiple of four lies on the other parity in
    // device pixels than in logical ones: 842 is 1263 device pixels, reached
    // from 819 (1229), not from the smallest 821 (1232); 621 is 932, reached
    // from 461 (692), not from 462 (693).
    EXPECT_EQ(sizeStepBase({821, 462}, {842, 621}, 1.5), (FrameSize{819, 461}));
    // Below its smallest size (a window manager's rounding): back to it.
    EXPECT_EQ(sizeStepBase({330, 228}, {329, 228}, 1.5), (FrameSize{330, 228}));
    // Steps of one device pixel, or of two at twice the scale, reach every
    // size the window can take.
    EXPECT_EQ(sizeStepBase({330, 228}, {401, 300}, 1), (FrameSize{330, 228}));
    EXPECT_EQ(sizeStepBase({330, 228}, {401, 300}, 2), (FrameSize{330, 228}));
}

}  // namespace
}  // namespace quorvane
