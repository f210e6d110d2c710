#include <gtest/gtest.h>

#include "presentation/design/accessible_button_frame.hpp"

namespace quorvane {
namespace {

TEST(AccessibleButtonFrameTest, GrowsWithTheTextSizeAndKeepsItsPaddings) {
    const double heights[] = {30, 34, 40, 46};
    int index = 0;
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::large,
                            QuorvaneTextSize::extraLarge, QuorvaneTextSize::veryLarge}) {
        const auto frame = accessibleButtonFrame(size, 8);
        EXPECT_DOUBLE_EQ(frame.minHeight, heights[index++]);
        EXPECT_DOUBLE_EQ(frame.horizontalPadding, 8);
        EXPECT_DOUBLE_EQ(frame.verticalPadding, 4);
    }
}

TEST(AccessibleButtonFrameTest, APresetTileTakesTheTallerOfItsOwnAndTheFramedLabelsHeight) {
    // The panel's preset tiles: tile insets 10 × 9 plus the frame's 8 × 4.
    const auto standard = framedButtonBox(ButtonShape::tile, QuorvaneTextSize::standard,
                                          accessibleButtonFrame(QuorvaneTextSize::standard, 8));
    EXPECT_DOUBLE_EQ(standard.labelInsets.horizontal, 18);
    EXPECT_DOUBLE_EQ(standard.labelInsets.vertical, 13);
    EXPECT_DOUBLE_EQ(standard.minHeight, 48);  // 48 = 30 + 2 × 9
    const auto large = framedButtonBox(ButtonShape::tile, QuorvaneTextSize::large,
                                       accessibleButtonFrame(QuorvaneTextSize::large, 8));
    EXPECT_DOUBLE_EQ(large.minHeight, 52);  // the framed label (34 + 18) beats the tile's 48
    const auto veryLarge = framedButtonBox(ButtonShape::tile, QuorvaneTextSize::veryLarge,
                                           accessibleButtonFrame(QuorvaneTextSize::veryLarge, 8));
    EXPECT_DOUBLE_EQ(veryLarge.minHeight, 64);
}

}  // namespace
}  // namespace quorvane
