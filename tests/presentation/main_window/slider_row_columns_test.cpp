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

// Beside a label the slider keeps 120 points, 40 more than its least width:
// the controls then take 256 at the standard size, 316 at veryLarge.
TEST(SliderRowColumnsTest, TheLabelColumnIsIdealUntilTheRowIsShortOfRoomThenStacks) {
    const auto standard = QuorvaneTextSize::standard;
    // Wide rows all keep the ideal column, however wide.
    EXPECT_EQ(Columns::labelWidth(520, standard), 120);
    EXPECT_EQ(Columns::labelWidth(5000, standard), 120);
    // Just short of the ideal: the column gives way, the slider keeps 120.
    EXPECT_EQ(Columns::labelWidth(256 + 12 + 100, standard), 100);
    // The minimum column still fits: side by side; one point less: stacked.
    EXPECT_EQ(Columns::labelWidth(256 + 12 + 72, standard), 72);
    EXPECT_EQ(Columns::labelWidth(256 + 12 + 71, standard), std::nullopt);
    // A half-width card at the window's usual width stacks its rows.
    EXPECT_EQ(Columns::labelWidth(235, standard), std::nullopt);
    EXPECT_EQ(Columns::labelWidth(0, standard), std::nullopt);
    EXPECT_EQ(Columns::labelWidth(-10, standard), std::nullopt);
}

TEST(SliderRowColumnsTest, TheColumnGrowsWithTheTextScale) {
    const auto veryLarge = QuorvaneTextSize::veryLarge;
    EXPECT_EQ(Columns::labelWidth(2000, veryLarge), 173);  // 120 × 1.44
    EXPECT_EQ(Columns::labelWidth(316 + 12 + 104, veryLarge), 104);
    EXPECT_EQ(Columns::labelWidth(316 + 12 + 103, veryLarge), std::nullopt);
}

// The rows of a card take the column their widest label needs: a long
// monitor title with its tag stays on one line while the card has room, a
// short set of titles leaves the slider the rest; a card short of room
// wraps the titles in what it gives, and stacks below the least column.
TEST(SliderRowColumnsTest, ACardsColumnIsWhatItsLabelsNeedWithinTheRoom) {
    const auto standard = QuorvaneTextSize::standard;
    const Columns::LabelNeeds monitorTitles{243, 243};
    EXPECT_EQ(Columns::labelWidth(535, standard, monitorTitles), 243);
    EXPECT_EQ(Columns::labelWidth(5000, standard, monitorTitles), 243);
    const Columns::LabelNeeds shortTitles{40, 90};  // a subtitle is the widest
    EXPECT_EQ(Columns::labelWidth(535, standard, shortTitles), 90);
    // Never narrower than the least column, even for the shortest titles.
    EXPECT_EQ(Columns::labelWidth(535, standard, {20, 30}), 72);
    // Short of room: the column is the room, the titles wrap in it.
    EXPECT_EQ(Columns::labelWidth(256 + 12 + 150, standard, monitorTitles), 150);
    EXPECT_EQ(Columns::labelWidth(256 + 12 + 71, standard, monitorTitles), std::nullopt);
    // The slider keeps 120 points at the largest size too.
    EXPECT_EQ(Columns::labelWidth(435, QuorvaneTextSize::veryLarge, {105, 290}), 107);
}

}  // namespace
}  // namespace quorvane
