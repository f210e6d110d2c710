#include "presentation/shell/work_area.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// Three outputs side by side, top-aligned, as the test server lays them.
constexpr FrameSize kRoot{4800, 1080};
constexpr ScreenRect kPrimary{0, 0, 1920, 1080};
constexpr ScreenRect kLow{1920, 0, 1280, 720};

TEST(WorkArea, FourValuesReserveTheirWholeEdgesAndTwelveTheirSpans) {
    EXPECT_EQ(windowStrut({0, 0, 0, 28}, kRoot),
              (WindowStrut{0, 0, 0, 28, 0, 1079, 0, 1079, 0, 4799, 0, 4799}));
    EXPECT_EQ(windowStrut({0, 0, 0, 28, 0, 0, 0, 0, 0, 0, 1800, 1919}, kRoot).bottomEndX, 1919);
    EXPECT_EQ(windowStrut({1, 2}, kRoot), WindowStrut{});
}

TEST(WorkArea, ABottomDockCutsOnlyTheOutputItsSpanCovers) {
    // A 120 px wide dock at the primary's bottom right corner.
    const std::vector struts{windowStrut({0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 1800, 1919}, kRoot)};
    EXPECT_EQ(outputWorkArea(kPrimary, kRoot, struts), (ScreenRect{0, 0, 1920, 1040}));
    EXPECT_EQ(outputWorkArea(kLow, kRoot, struts), kLow);
    // A top bar on the primary alone.
    const std::vector top{windowStrut({0, 0, 28, 0, 0, 0, 0, 0, 0, 1919, 0, 0}, kRoot)};
    EXPECT_EQ(outputWorkArea(kLow, kRoot, top), kLow);
    EXPECT_EQ(outputWorkArea(kPrimary, kRoot, top).y, 28);
}

TEST(WorkArea, ADockAtTheBottomOfALowerOutputIsCountedFromTheRootsBottom) {
    // The 720-high output's bottom lies 360 px above the root's.
    const std::vector struts{windowStrut({0, 0, 0, 360 + 28, 0, 0, 0, 0, 0, 0, 1920, 3199}, kRoot)};
    EXPECT_EQ(outputWorkArea(kLow, kRoot, struts), (ScreenRect{1920, 0, 1280, 692}));
    EXPECT_EQ(outputWorkArea(kPrimary, kRoot, struts), kPrimary);
}

TEST(WorkArea, EachSideIsCut) {
    const std::vector struts{windowStrut({30, 4800 - 1900, 28, 0}, kRoot)};
    EXPECT_EQ(outputWorkArea(kPrimary, kRoot, struts), (ScreenRect{30, 28, 1870, 1052}));
}

TEST(WorkArea, DocksThatLeaveNothingLeaveTheOutputWhole) {
    const std::vector struts{windowStrut({0, 0, 1080, 0}, kRoot)};
    EXPECT_EQ(outputWorkArea(kPrimary, kRoot, struts), kPrimary);
}

TEST(WorkArea, AtTwiceTheScaleTheAreaIsHalvedFromTheOutputsCorner) {
    // Qt keeps each output's corner and scales its size.
    EXPECT_EQ(logicalWorkArea({0, 0, 1920, 1052}, kPrimary, {0, 0, 960, 540}),
              (ScreenRect{0, 0, 960, 526}));
    EXPECT_EQ(logicalWorkArea({1920, 28, 1280, 692}, kLow, {1920, 0, 640, 360}),
              (ScreenRect{1920, 14, 640, 346}));
    EXPECT_EQ(logicalWorkArea({1950, 0, 1200, 720}, kLow, {1920, 0, 640, 360}),
              (ScreenRect{1935, 0, 600, 360}));
}

TEST(WorkArea, APlaceTheServerTellsIsCountedFromItsOutputsCorner) {
    // Where the X server has a window on the 720-high output at twice the
    // scale; Qt, mapping it through the primary output, told 960.
    EXPECT_EQ(logicalPlace({1920, 0, 1278, 694}, kLow, {1920, 0, 640, 360}),
              (ScreenRect{1920, 0, 639, 347}));
    EXPECT_EQ(logicalPlace({1942, 20, 1278, 694}, kLow, {1920, 0, 640, 360}),
              (ScreenRect{1931, 10, 639, 347}));
    EXPECT_EQ(logicalPlace({300, 150, 900, 600}, kPrimary, {0, 0, 1280, 720}),
              (ScreenRect{200, 100, 600, 400}));
    EXPECT_EQ(logicalPlace({5, 5, 10, 10}, kPrimary, kPrimary), (ScreenRect{5, 5, 10, 10}));
}

TEST(WorkArea, AtOneAndAHalfTheAreaIsRoundedInwards) {
    // 1052 / 1.5 = 701.3: the 702nd logical row would reach under the dock.
    EXPECT_EQ(logicalWorkArea({0, 0, 1920, 1052}, kPrimary, {0, 0, 1280, 720}),
              (ScreenRect{0, 0, 1280, 701}));
    EXPECT_EQ(logicalWorkArea({0, 29, 1920, 1051}, kPrimary, {0, 0, 1280, 720}).y, 20);
    // 31 px docks at the left and the right: logical column 20 would cover
    // the left one's last column, 30, and column 1259 the right one's first.
    EXPECT_EQ(logicalWorkArea({31, 0, 1858, 1080}, kPrimary, {0, 0, 1280, 720}),
              (ScreenRect{21, 0, 1238, 720}));
    EXPECT_EQ(logicalWorkArea(kPrimary, kPrimary, kPrimary), kPrimary);
}

}  // namespace
}  // namespace quorvane
