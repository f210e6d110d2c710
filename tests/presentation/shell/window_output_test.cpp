#include "presentation/shell/window_output.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const std::vector<ScreenRect> kOutputs{
    {0, 0, 1920, 1080}, {1920, 0, 1280, 720}, {3200, 0, 1600, 900}};

TEST(WindowOutput, AFrameStandsInsideOnlyWhollyWithin) {
    EXPECT_TRUE(standsInside({0, 0, 1920, 1052}, {0, 0, 1920, 1052}));
    EXPECT_FALSE(standsInside({0, 1, 1920, 1052}, {0, 0, 1920, 1052}));
    EXPECT_FALSE(standsInside({-1, 0, 100, 100}, {0, 0, 1920, 1052}));
}

TEST(WindowOutput, AWindowBelongsToTheOutputShowingMostOfIt) {
    // 84 px on the primary, the rest on the 720-high output.
    EXPECT_EQ(homeOutput({1836, 40, 842, 600}, kOutputs, 0), 1U);
    EXPECT_EQ(homeOutput({1400, 40, 842, 600}, kOutputs, 0), 0U);
}

TEST(WindowOutput, AWindowOnNoOutputBelongsToTheNearest) {
    // The 720-high output went: what stood on it is nearer the primary.
    const std::vector<ScreenRect> left{kOutputs[0], kOutputs[2]};
    EXPECT_EQ(homeOutput({1950, 40, 842, 600}, left, 1), 0U);
    // Below the 720-high output, nearer the third one.
    EXPECT_EQ(homeOutput({3100, 800, 90, 50}, kOutputs, 0), 2U);
    EXPECT_EQ(homeOutput({0, 0, 10, 10}, {}, 0), std::nullopt);
}

TEST(WindowOutput, WhereTwoCountTheSameThePrimaryWins) {
    const std::vector<ScreenRect> apart{{0, 0, 100, 100}, {300, 0, 100, 100}};
    EXPECT_EQ(homeOutput({150, 0, 100, 10}, apart, 1), 1U);
    EXPECT_EQ(homeOutput({150, 0, 100, 10}, apart, 0), 0U);
}

TEST(WindowOutput, AWindowOpensCentredOverTheOneThatOpenedIt) {
    const ScreenRect area{1920, 0, 1280, 720};
    EXPECT_EQ(openingFrame({640, 600}, std::nullopt, {2000, 40, 842, 600}, area),
              (ScreenRect{2101, 40, 640, 600}));
    // Taller than its opener at the top: moved into the area.
    EXPECT_EQ(openingFrame({640, 700}, std::nullopt, {2500, 0, 600, 300}, area),
              (ScreenRect{2480, 0, 640, 700}));
    EXPECT_EQ(openingFrame({640, 700}, std::nullopt, {3000, 0, 200, 300}, area).x, 2560);
}

TEST(WindowOutput, AWindowItsUserPlacedOpensThereAndIsCutToTheArea) {
    const ScreenRect area{0, 0, 1920, 1052};
    EXPECT_EQ(openingFrame({640, 600}, ScreenRect{100, 200, 640, 600}, {2000, 40, 842, 600}, area),
              (ScreenRect{100, 200, 640, 600}));
    EXPECT_EQ(openingFrame({2000, 1100}, ScreenRect{100, 200, 640, 600}, {}, area), area);
}

TEST(WindowOutput, OnlyAWindowClosedElsewhereThanItWasPutCountsAsPlaced) {
    UserPlacement placement;
    placement.closed({5, 5, 10, 10});
    EXPECT_EQ(placement.userPlaced(), std::nullopt);
    placement.opened({0, 0, 10, 10});
    placement.closed({0, 0, 10, 10});
    EXPECT_EQ(placement.userPlaced(), std::nullopt);
    placement.opened({0, 0, 10, 10});
    placement.closed({2000, 30, 10, 10});
    EXPECT_EQ(placement.userPlaced(), (ScreenRect{2000, 30, 10, 10}));
    // Opened there again and closed unmoved: it stays where the user put it.
    placement.opened({2000, 30, 10, 10});
    placement.closed({2000, 30, 10, 10});
    EXPECT_EQ(placement.userPlaced(), (ScreenRect{2000, 30, 10, 10}));
}

}  // namespace
}  // namespace quorvane
