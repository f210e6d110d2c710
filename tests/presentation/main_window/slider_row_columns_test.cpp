#include "presentation/main_window/slider_row_columns.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using Columns = SliderRowColumns;

// Standard: two 30-point nudges, an 80-point slider, a 52-point readout and
// three 8-point gaps are the controls' least width (216).
TEST(SliderRowColumnsTest, ControlsKeepTheirLeastWidthPerTextSize) {
    EXPECT_EQ(Columns::controlsMinimumWidth(QuorvaneTextSize::standard), 216);
    EXPECT_EQ(Columns::controlsMinimumWidth(QuorvaneTextSize::veryLarge), 276);
}

TEST(SliderRowColumnsTest, TheLabelColumnIsIdealUntilTheRowIsShortOfRoomThenStacks) {
    const auto standard = QuorvaneTextSize::standard;
    // Wide rows all keep the ideal column, however wide.
    EXPECT_EQ(Columns::labelWidth(520, standard), 120);
    EXPECT_EQ(Columns::labelWidth(5000, standard), 120);
    // Just short of the ideal: the column gives way, the controls keep their least width.
    EXPECT_EQ(Columns::labelWidth(216 + 12 + 100, standard), 100);
    // The minimum column still fits: side by side; one point less: stacked.
    EXPECT_EQ(Columns::labelWidth(216 + 12 + 72, standard), 72);
    EXPECT_EQ(Columns::labelWidth(216 + 12 + 71, standard), std::nullopt);
    // A half-width card at the window's usual width stacks its rows.
    EXPECT_EQ(Columns::labelWidth(235, standard), std::nullopt);
    EXPECT_EQ(Columns::labelWidth(0, standard), std::nullopt);
    EXPECT_EQ(Columns::labelWidth(-10, standard), std::nullopt);
}

TEST(SliderRowColumnsTest, TheColumnGrowsWithTheTextScale) {
    const auto veryLarge = QuorvaneTextSize::veryLarge;
    EXPECT_EQ(Columns::labelWidth(2000, veryLarge), 173);  // 120 × 1.44
    EXPECT_EQ(Columns::labelWidth(276 + 12 + 104, veryLarge), 104);
    EXPECT_EQ(Columns::labelWidth(276 + 12 + 103, veryLarge), std::nullopt);
}

}  // namespace
}  // namespace quorvane
