#include <gtest/gtest.h>

#include "presentation/design/action_button_label.hpp"

namespace quorvane {
namespace {

TEST(ActionButtonLabelTest, TheTileSetsTheHeightUntilTheTitleOrTheTextSizeNeedsMore) {
    const ActionButtonLabel label = kActionButtonLabel;
    EXPECT_DOUBLE_EQ(label.symbolTileSide, 28);
    EXPECT_EQ(label.titleLineLimit, 2);
    // One short line at the standard size: the 28-point tile inside 5 above
    // and below beats the chip's least 30.
    EXPECT_DOUBLE_EQ(actionButtonHeight(label, QuorvaneTextSize::standard, 17), 38);
    // At the largest size the chip's own least height wins over one line.
    EXPECT_DOUBLE_EQ(actionButtonHeight(label, QuorvaneTextSize::veryLarge, 27), 46);
    // Two wrapped lines grow the chip past both.
    EXPECT_DOUBLE_EQ(actionButtonHeight(label, QuorvaneTextSize::veryLarge, 54), 64);
}

TEST(ActionButtonLabelTest, TheTitleGetsWhatTheInsetsTileAndSpacingLeave) {
    const ActionButtonLabel label = kActionButtonLabel;
    // 11 + 28 + 8 + title + 11
    EXPECT_DOUBLE_EQ(actionButtonTitleWidth(label, 200), 142);
    // A button narrower than its fixed parts leaves the title nothing, not less.
    EXPECT_DOUBLE_EQ(actionButtonTitleWidth(label, 40), 0);
}

}  // namespace
}  // namespace quorvane
