#include "presentation/design/shared_row.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(SharedRow, BothKeepTheirIdealWidthsWhileTheyFitAndTheSecondTakesTheRest) {
    EXPECT_EQ(shareRow(400, 6, 150, 100), (SharedRowWidths{150, 244}));
}

TEST(SharedRow, TheShorterKeepsItsWidthAndTheLongerWrapsInTheRest) {
    EXPECT_EQ(shareRow(306, 6, 260, 80), (SharedRowWidths{220, 80}));
    EXPECT_EQ(shareRow(306, 6, 90, 500), (SharedRowWidths{90, 210}));
}

TEST(SharedRow, TwoLongOnesTakeHalfEachAndNeitherIsSqueezedFurther) {
    EXPECT_EQ(shareRow(307, 6, 400, 500), (SharedRowWidths{150, 151}));
    EXPECT_EQ(shareRow(3, 6, 40, 50), (SharedRowWidths{0, 0}));
}

}  // namespace
}  // namespace quorvane
