#include "presentation/panel/panel_slider_row_state.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using Rule = PanelSliderRowState::PendingRule;

TEST(PanelSliderRowState, ADragWritesOnlyTheReleasedValueAndShowsTheThumbMeanwhile) {
    PanelSliderRowState row(0.40, 0.0, 1.0, 0.01);
    row.beginEditing();
    for (double value : {0.45, 0.55, 0.62, 0.70})
        row.moveThumb(value);
    EXPECT_EQ(row.ownerValue(), 0.40);  // nothing written while the thumb moves
    EXPECT_EQ(row.formattedValue(), 0.70);
    EXPECT_EQ(row.currentVisibleValue(), 0.70);
    EXPECT_EQ(row.endEditing(), 0.70);
    EXPECT_FALSE(row.isEditing());
    // An app row shows the owner's own text again once released.
    EXPECT_EQ(row.formattedValue(), std::nullopt);
}

TEST(PanelSliderRowState, AMonitorRowKeepsTheReleasedValueUntilTheMonitorAnswers) {
    PanelSliderRowState row(0.30, 0.05, 1.0, 0.01, Rule::nudgesAndDrags);
    row.beginEditing();
    row.moveThumb(0.80);
    EXPECT_EQ(row.endEditing(), 0.80);
    EXPECT_EQ(row.currentVisibleValue(), 0.80);
    EXPECT_EQ(row.formattedValue(), 0.80);
    // A value published during a later drag does not move the thumb.
    row.beginEditing();
    row.moveThumb(0.90);
    row.ownerValueChanged(0.79);
    EXPECT_EQ(row.draftValue(), 0.90);
    EXPECT_EQ(row.currentVisibleValue(), 0.90);
}

TEST(PanelSliderRowState, NudgesClampAtBothEndsAndDisableTheButtonThere) {
    PanelSliderRowState row(0.999, 0.0, 1.0, 0.01);
    EXPECT_TRUE(row.canIncrement());
    EXPECT_EQ(row.nudge(QuorvaneAdjustmentNudgeDirection::increment), 1.0);
    EXPECT_FALSE(row.canIncrement());
    EXPECT_EQ(row.nudge(QuorvaneAdjustmentNudgeDirection::increment), std::nullopt);

    PanelSliderRowState low(0.05, 0.05, 1.0, 0.01);
    EXPECT_FALSE(low.canDecrement());
    EXPECT_EQ(low.nudge(QuorvaneAdjustmentNudgeDirection::decrement), std::nullopt);
    // A step that overshoots the lower bound lands on it, not below.
    PanelSliderRowState near(0.12, 0.1, 1.5, 0.05);
    EXPECT_EQ(near.nudge(QuorvaneAdjustmentNudgeDirection::decrement), 0.1);
}

TEST(PanelSliderRowState, NudgesKeepSixDecimalsRoundingHalvesAwayFromZero) {
    PanelSliderRowState row(0.2, 0.0, 1.0, 0.1);
    EXPECT_EQ(row.nudge(QuorvaneAdjustmentNudgeDirection::increment),
              0.3);  // not 0.30000000000000004

    // 2.5e-6 is exactly half way between 2e-6 and 3e-6 at six decimals.
    PanelSliderRowState half(0.0, -1.0, 1.0, 0.0000025);
    EXPECT_EQ(half.nudge(QuorvaneAdjustmentNudgeDirection::increment), 0.000003);
    PanelSliderRowState negative(0.0, -1.0, 1.0, 0.0000025);
    EXPECT_EQ(negative.nudge(QuorvaneAdjustmentNudgeDirection::decrement), -0.000003);
    // Below half a millionth the step rounds away entirely.
    PanelSliderRowState small(0.5, 0.0, 1.0, 0.0000004);
    EXPECT_EQ(small.nudge(QuorvaneAdjustmentNudgeDirection::increment), 0.5);
}

TEST(PanelSliderRowState, ConsecutiveNudgesStartFromThePendingValue) {
    PanelSliderRowState row(0.50, 0.0, 1.0, 0.05);
    EXPECT_EQ(row.nudge(QuorvaneAdjustmentNudgeDirection::increment), 0.55);
    // The owner refused the write: the value stays shown and the next press
    // builds on it.
    EXPECT_EQ(row.nudge(QuorvaneAdjustmentNudgeDirection::increment), 0.6);
    EXPECT_EQ(row.formattedValue(), 0.6);
    // A drag started now begins where the user sees the thumb.
    row.beginEditing();
    EXPECT_EQ(row.draftValue(), 0.6);
}

TEST(PanelSliderRowState, PendingClearsOnlyWhenTheOwnerPublishesADifferentValue) {
    PanelSliderRowState row(0.50, 0.0, 1.0, 0.05);
    row.nudge(QuorvaneAdjustmentNudgeDirection::increment);
    row.ownerValueChanged(0.50);  // the same value again: no change
    EXPECT_EQ(row.pendingValue(), 0.55);
    row.ownerValueChanged(0.55);
    EXPECT_EQ(row.pendingValue(), std::nullopt);
    EXPECT_EQ(row.formattedValue(), std::nullopt);
    EXPECT_EQ(row.currentVisibleValue(), 0.55);

    // Any different value clears it, even one that is not the nudged value.
    row.nudge(QuorvaneAdjustmentNudgeDirection::decrement);
    row.ownerValueChanged(0.2);
    EXPECT_EQ(row.pendingValue(), std::nullopt);
    EXPECT_EQ(row.currentVisibleValue(), 0.2);
}

TEST(PanelSliderRowState, AKeyboardStepWithoutHoldIsOneWholeEdit) {
    PanelSliderRowState row(0.30, 0.05, 1.0, 0.01, Rule::nudgesAndDrags);
    EXPECT_EQ(row.stepWithoutHold(0.40), 0.40);
    EXPECT_FALSE(row.isEditing());
    EXPECT_EQ(row.pendingValue(), 0.40);
    // A step past the end is clamped like a drag.
    EXPECT_EQ(row.stepWithoutHold(1.7), 1.0);
}

// A key step shows at once, as a nudge does, also on rows whose drags do
// not stay pending: the thumb and the value heard move in the same turn.
TEST(PanelSliderRowState, AKeyStepShowsUntilTheOwnerPublishesAChange) {
    PanelSliderRowState row(1.0, 0.2, 2.0, 0.05);
    EXPECT_EQ(row.stepWithoutHold(1.2), 1.2);
    EXPECT_EQ(row.currentVisibleValue(), 1.2);
    EXPECT_EQ(row.formattedValue(), 1.2);
    row.ownerValueChanged(1.2);
    EXPECT_EQ(row.pendingValue(), std::nullopt);
    // A step that lands on the owner's value leaves nothing pending.
    row.stepWithoutHold(1.3);
    EXPECT_EQ(row.stepWithoutHold(1.2), 1.2);
    EXPECT_EQ(row.pendingValue(), std::nullopt);
}

TEST(PanelSliderRowState, ThumbValuesOutsideTheRangeOrNotANumberAreClamped) {
    PanelSliderRowState row(0.5, 0.05, 1.0, 0.01);
    row.beginEditing();
    row.moveThumb(0.02);
    EXPECT_EQ(row.draftValue(), 0.05);
    row.moveThumb(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(row.draftValue(), 0.05);
    row.moveThumb(3.0);
    EXPECT_EQ(row.endEditing(), 1.0);
}

}  // namespace
}  // namespace quorvane
