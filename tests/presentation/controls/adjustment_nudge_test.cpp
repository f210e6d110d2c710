#include <gtest/gtest.h>

#include "presentation/controls/adjustment_nudge.hpp"

namespace quorvane {
namespace {

TEST(AdjustmentNudgeTest, PercentTextRoundsHalvesAwayFromZero) {
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(0.01), "1%");
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(0.005), "1%");
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(0.004), "0%");
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(1.0), "100%");
    // 0.015 × 100 is 1.4999… in binary; a decimal half still rounds up.
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(0.015), "2%");
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(-0.005), "-1%");
    EXPECT_EQ(QuorvaneAdjustmentNudge::percentText(-0.03), "-3%");
}

TEST(AdjustmentNudgeTest, SpokenStepWordDependsOnTheStepWithinAMillionth) {
    using Direction = QuorvaneAdjustmentNudgeDirection;
    EXPECT_EQ(QuorvaneAdjustmentNudge::accessibilityLabel("대비", Direction::decrement, 0.05),
              "대비 조금 낮추기");
    EXPECT_EQ(QuorvaneAdjustmentNudge::accessibilityLabel("밝기", Direction::increment, 0.0100005),
              "밝기 1% 높이기");
    EXPECT_EQ(QuorvaneAdjustmentNudge::accessibilityLabel("밝기", Direction::increment, 0.0100011),
              "밝기 조금 높이기");
    EXPECT_EQ(QuorvaneAdjustmentNudge::accessibilityLabel("색온도", Direction::increment, 100),
              "색온도 100K 높이기");
    EXPECT_EQ(QuorvaneAdjustmentNudge::accessibilityLabel("감마", Direction::increment, 1),
              "감마 조금 높이기");
}

TEST(AdjustmentNudgeTest, SquareGrowsWithTextSize) {
    const double sides[] = {30, 34, 39, 44};
    for (std::size_t i = 0; i < kAllTextSizes.size(); ++i)
        EXPECT_EQ(QuorvaneAdjustmentNudge::squareSide(kAllTextSizes[i]), sides[i]);
}

}  // namespace
}  // namespace quorvane
