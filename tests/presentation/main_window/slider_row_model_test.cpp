#include "presentation/main_window/slider_row_model.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "presentation/main_window/slider_scale.hpp"

namespace quorvane {
namespace {

std::string percent(double value) {
    return std::to_string(static_cast<long long>(std::llround(value * 100))) + "%";
}

SliderRowModel contrastRow(double value) {
    return SliderRowModel(SliderRowKind::software, 0.2, 2.0, 0.05, defaultSliderValueText, value);
}

SliderRowModel monitorRow(double value, double lower = 0.0) {
    return SliderRowModel(SliderRowKind::monitor, lower, 1.0, 0.01, percent, value);
}

TEST(SliderRowModel, DragWritesOnlyAtReleaseAndShowsTheDraftMeanwhile) {
    auto row = contrastRow(1.0);
    row.beginEditing();
    for (int step = 1; step <= 37; ++step)
        row.moveDraft(1.0 + step * 0.01);
    EXPECT_DOUBLE_EQ(row.outsideValue(), 1.0);
    EXPECT_DOUBLE_EQ(row.thumbValue(), 1.37);
    EXPECT_EQ(row.displayedValueText("caller"), "1.37");

    EXPECT_DOUBLE_EQ(row.endEditing().value(), 1.37);
    // A software row keeps nothing pending: the caller's text comes back.
    EXPECT_FALSE(row.pendingValue());
    EXPECT_EQ(row.displayedValueText("caller"), "caller");
}

TEST(SliderRowModel, AClickOnTheThumbWritesNothing) {
    auto software = contrastRow(0.8);
    software.beginEditing();
    EXPECT_EQ(software.endEditing(), std::nullopt);

    // A drag brought back to where it was taken changes nothing either.
    auto monitor = monitorRow(0.4);
    monitor.beginEditing();
    monitor.moveDraft(0.6);
    monitor.moveDraft(0.4);
    EXPECT_EQ(monitor.endEditing(), std::nullopt);
    EXPECT_FALSE(monitor.pendingValue());
    EXPECT_EQ(monitor.displayedValueText("40%"), "40%");
}

TEST(SliderRowModel, NudgesStopAtTheBoundsAndDisableTheirButton) {
    auto low = contrastRow(0.22);
    EXPECT_DOUBLE_EQ(low.nudgeDown(), 0.2);
    EXPECT_FALSE(low.canDecrement());
    EXPECT_TRUE(low.canIncrement());

    auto high = contrastRow(1.98);
    EXPECT_DOUBLE_EQ(high.nudgeUp(), 2.0);
    EXPECT_FALSE(high.canIncrement());
}

TEST(SliderRowModel, RepeatedNudgesLandOnTheNearestDoublesWithoutDrift) {
    auto row = SliderRowModel(SliderRowKind::software, 0.0, 2.0, 0.05, defaultSliderValueText, 0.1);
    const double expected[] = {0.15, 0.2, 0.25};
    for (double value : expected) {
        const double written = row.nudgeUp();
        EXPECT_EQ(written, value);
        row.setOutsideValue(written);  // the store adopts the write
    }
}

TEST(SliderRowModel, MonitorCommitStaysPendingUntilTheCallerPublishesAChange) {
    auto row = monitorRow(0.5);
    EXPECT_DOUBLE_EQ(row.nudgeUp(), 0.51);
    EXPECT_EQ(row.displayedValueText("50%"), "51%");
    EXPECT_DOUBLE_EQ(row.thumbValue(), 0.51);  // keys step from the readout's value

    // The caller republishes the old value: no real change, still pending.
    row.setOutsideValue(0.5);
    EXPECT_EQ(row.displayedValueText("50%"), "51%");
    // The next nudge steps from the pending value, not the stale outside one.
    EXPECT_DOUBLE_EQ(row.nudgeUp(), 0.52);

    row.setOutsideValue(0.52);
    EXPECT_FALSE(row.pendingValue());
    EXPECT_EQ(row.displayedValueText("52% (monitor)"), "52% (monitor)");
    EXPECT_DOUBLE_EQ(row.thumbValue(), 0.52);
}

TEST(SliderRowModel, OutsideChangeDuringADragKeepsTheThumbAndIsOverwrittenAtRelease) {
    auto row = monitorRow(0.3);
    row.nudgeUp();  // pending 0.31
    row.beginEditing();
    EXPECT_DOUBLE_EQ(row.thumbValue(), 0.31);  // the drag starts where the value shows
    row.moveDraft(0.7);
    row.setOutsideValue(0.9);
    EXPECT_DOUBLE_EQ(row.thumbValue(), 0.7);
    EXPECT_EQ(row.displayedValueText("90%"), "70%");
    EXPECT_DOUBLE_EQ(row.endEditing().value(), 0.7);
}

TEST(SliderRowModel, NudgeDuringADragStartsFromTheDraft) {
    auto row = contrastRow(1.0);
    row.beginEditing();
    row.moveDraft(1.5);
    EXPECT_DOUBLE_EQ(row.nudgeUp(), 1.55);
}

TEST(SliderRowModel, MonitorRowStartingAtFivePercentNeverGoesBelowIt) {
    auto row = monitorRow(0.06, 0.05);
    EXPECT_DOUBLE_EQ(row.nudgeDown(), 0.05);
    EXPECT_DOUBLE_EQ(row.nudgeDown(), 0.05);
    EXPECT_FALSE(row.canDecrement());
}

TEST(SliderRowModel, HintPutsTheObjectParticleAfterAnyTitle) {
    EXPECT_EQ(sliderAccessibilityHint("대비", std::nullopt, SliderRowKind::software),
              "좌우 방향키 또는 양쪽의 더하기/빼기 버튼으로 대비을 조정합니다.");
    EXPECT_EQ(sliderAccessibilityHint("밝기", std::string("모니터 밝기"), SliderRowKind::monitor),
              "모니터 밝기. 좌우 방향키 또는 양쪽의 더하기/빼기 버튼으로 밝기을 조정합니다. "
              "변경값은 모니터에 직접 적용됩니다.");
}

TEST(SliderScale, EveryStepMultipleHasItsOwnPosition) {
    const SliderScale contrast(0.2, 2.0, 0.05);
    EXPECT_EQ(contrast.maximumPosition(), 36 * SliderScale::kPositionsPerStep);
    for (int step = 0; step <= 36; ++step) {
        const double value = std::round((0.2 + step * 0.05) * 100) / 100;
        EXPECT_EQ(contrast.value(contrast.position(value)), value) << value;
    }
    EXPECT_EQ(contrast.value(contrast.position(1.37)), 1.37);
}

TEST(SliderScale, OutOfRangeValuesClampToTheEnds) {
    const SliderScale brightness(0.05, 1.0, 0.01);
    EXPECT_EQ(brightness.position(-3), 0);
    EXPECT_EQ(brightness.position(7), brightness.maximumPosition());
    EXPECT_EQ(brightness.value(brightness.maximumPosition()), 1.0);
    EXPECT_EQ(brightness.value(0), 0.05);
}

TEST(SliderScale, APageIsAWholeNumberOfStepsNearATenthOfTheRange) {
    // 28 steps of 0.05: a page of 3 steps, never 2.8 (1.05 -> 1.19).
    const SliderScale highlights(0.1, 1.5, 0.05);
    EXPECT_EQ(highlights.pagePositions(), 3 * SliderScale::kPositionsPerStep);
    const int from = highlights.position(1.05);
    EXPECT_EQ(highlights.value(from + highlights.pagePositions()), 1.2);
    EXPECT_EQ(highlights.value(from - highlights.pagePositions()), 0.9);
    EXPECT_EQ(SliderScale(2700, 9300, 100).pagePositions(), 7 * SliderScale::kPositionsPerStep);
    // A short range still moves a whole step.
    EXPECT_EQ(SliderScale(0, 0.1, 0.05).pagePositions(), SliderScale::kPositionsPerStep);
}

TEST(SliderScale, RangeThatIsNoMultipleOfTheStepKeepsItsTop) {
    const SliderScale kelvin(1900, 6550, 100);
    EXPECT_EQ(kelvin.value(kelvin.maximumPosition()), 6550);
    EXPECT_EQ(kelvin.value(kelvin.position(6500)), 6500);
}

}  // namespace

// The thumb is drawn on the monitor's value while a committed one waits, and
// follows the finger while dragged.
TEST(SliderRowModel, TheThumbRestsOnTheOutsideValueWhileACommitIsPending) {
    auto row = monitorRow(0.5);
    row.nudgeUp();
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.5);
    row.setOutsideValue(0.51);
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.51);
    row.beginEditing();
    row.moveDraft(0.8);
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.8);
    EXPECT_DOUBLE_EQ(row.endEditing().value(), 0.8);
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.51);
}

// While a commit waits, the pointer takes the thumb where it is drawn: held
// without moving it stays there and the release commits nothing new (the
// value already committed); moved, it follows the pointer from there. A
// change of the outside value while it is held never moves it.
TEST(SliderRowModel, AThumbTakenWhileACommitWaitsStaysWhereItWasDrawnUntilItMoves) {
    auto row = monitorRow(0.2);
    row.beginEditing();
    row.moveDraft(0.8);
    EXPECT_DOUBLE_EQ(row.endEditing().value(), 0.8);
    ASSERT_DOUBLE_EQ(row.drawnThumbValue(), 0.2);

    row.beginEditing();
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.2);
    EXPECT_EQ(row.displayedValueText("20%"), "80%");
    row.setOutsideValue(0.3);
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.2);
    EXPECT_EQ(row.endEditing(), std::nullopt);

    row.beginEditing();
    row.moveDraft(0.25);
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.25);
    EXPECT_EQ(row.displayedValueText("30%"), "25%");
    EXPECT_DOUBLE_EQ(row.endEditing().value(), 0.25);
    EXPECT_DOUBLE_EQ(row.drawnThumbValue(), 0.3);
}

}  // namespace quorvane
