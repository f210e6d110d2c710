#include <gtest/gtest.h>

#include "presentation/design/baseline_alignment.hpp"

namespace quorvane {
namespace {

// A body title (baseline 17 of 20), a caption tag in a capsule (baseline
// 14 of 19) and a readout (baseline 15 of 18): the tag and the readout drop
// until their text stands on the title's line.
TEST(BaselineAlignmentTest, ItemsDropUntilTheirTextsStandOnTheLowestBaseline) {
    const BaselineLine line = alignOnFirstBaseline({{20, 17}, {19, 14}, {18, 15}});
    EXPECT_EQ(line.baseline, 17);
    EXPECT_EQ(line.tops, (std::vector<int>{0, 3, 2}));
    // The tag now reaches lowest.
    EXPECT_EQ(line.height, 22);
}

// A wrapped title two lines tall still aligns by its first line; an item
// without text stands on the baseline with its bottom edge.
TEST(BaselineAlignmentTest, FirstLinesCountAndItemsWithoutTextStandOnTheBaseline) {
    const BaselineLine line = alignOnFirstBaseline({{40, 17}, {10, std::nullopt}, {16, 12}});
    EXPECT_EQ(line.baseline, 17);
    EXPECT_EQ(line.tops, (std::vector<int>{0, 7, 5}));
    EXPECT_EQ(line.height, 40);

    const BaselineLine tall = alignOnFirstBaseline({{12, 9}, {30, std::nullopt}});
    EXPECT_EQ(tall.baseline, 30);
    EXPECT_EQ(tall.tops, (std::vector<int>{21, 0}));
    EXPECT_EQ(tall.height, 33);
    EXPECT_EQ(alignOnFirstBaseline({}), BaselineLine{});
}

}  // namespace
}  // namespace quorvane
