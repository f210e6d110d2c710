#include <gtest/gtest.h>

#include "presentation/design/control_metrics.hpp"

namespace quorvane {
namespace {

TEST(ControlMetricsTest, EveryMeasureGrowsFromRegularToExtraLarge) {
    const auto regular = controlMetrics(QuorvaneControlSize::regular);
    const auto large = controlMetrics(QuorvaneControlSize::large);
    const auto extraLarge = controlMetrics(QuorvaneControlSize::extraLarge);
    const auto grows = [](const ControlMetrics& small, const ControlMetrics& big) {
        return small.sliderHandle < big.sliderHandle && small.sliderGroove < big.sliderGroove &&
               small.indicator < big.indicator && small.buttonMinHeight < big.buttonMinHeight &&
               small.pickerArrowWidth < big.pickerArrowWidth && small.arrow < big.arrow &&
               small.menuIcon < big.menuIcon;
    };
    EXPECT_TRUE(grows(regular, large));
    EXPECT_TRUE(grows(large, extraLarge));
    // The two largest text sizes share one control size, hence one set.
    EXPECT_EQ(controlMetrics(controlSize(QuorvaneTextSize::extraLarge)),
              controlMetrics(controlSize(QuorvaneTextSize::veryLarge)));
    // A regular control is never smaller than the toolkit's own (a 14-pixel
    // box, a 15-pixel thumb).
    EXPECT_GE(regular.indicator, 14);
    EXPECT_GE(regular.sliderHandle, 15);
}

}  // namespace
}  // namespace quorvane
