#include "presentation/shell/popup_placement.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr ScreenRect kScreen{0, 0, 1920, 1080};
constexpr FrameSize kPanel{350, 484};

TEST(PopupPlacement, ATopBarIconGetsThePanelCentredBelowIt) {
    const auto placed = popupPlacement(kPanel, ScreenRect{1000, 0, 24, 24}, 5, 5, kScreen);
    EXPECT_EQ(placed, (ScreenRect{1012 - 175, 28, 350, 484}));
}

TEST(PopupPlacement, ABottomBarIconGetsThePanelAboveIt) {
    const auto placed = popupPlacement(kPanel, ScreenRect{900, 1050, 24, 30}, 5, 5, kScreen);
    EXPECT_EQ(placed.y, 1050 - 4 - 484);
    EXPECT_EQ(placed.x, 912 - 175);
}

TEST(PopupPlacement, AnIconInTheCornerKeepsThePanelOnTheScreen) {
    const auto placed = popupPlacement(kPanel, ScreenRect{1900, 0, 20, 20}, 5, 5, kScreen);
    EXPECT_EQ(placed.x, 1920 - 350);
    EXPECT_EQ(placed.y, 24);
}

TEST(PopupPlacement, WithoutIconGeometryThePanelOpensAtThePointer) {
    // An empty geometry is what a tray without placement answers.
    const auto placed = popupPlacement(kPanel, ScreenRect{0, 0, 0, 0}, 600, 100, kScreen);
    EXPECT_EQ(placed, (ScreenRect{600 - 175, 104, 350, 484}));
    const auto noIcon = popupPlacement(kPanel, std::nullopt, 600, 900, kScreen);
    EXPECT_EQ(noIcon.y, 900 - 4 - 484);
}

TEST(PopupPlacement, ATopBarIconOnAScreenBelowAnotherGetsThePanelBelowIt) {
    // The lower of two stacked screens: its halves are counted from its own top.
    const ScreenRect lower{0, 1080, 1920, 1080};
    const ScreenRect icon{1000, 1080, 24, 24};
    const auto placed = popupPlacement(kPanel, icon, 5, 5, lower);
    EXPECT_EQ(placed, (ScreenRect{1012 - 175, 1080 + 24 + 4, 350, 484}));
}

TEST(PopupPlacement, AScreenOffsetFromTheOriginIsRespected) {
    // A second screen to the right, its available area below a 30-pixel bar.
    const ScreenRect right{1920, 30, 1280, 690};
    const auto placed = popupPlacement(kPanel, std::nullopt, 1925, 40, right);
    EXPECT_EQ(placed.x, 1920);
    EXPECT_EQ(placed.y, 44);
    // Taller than the area: starts at its top rather than above it.
    const auto tall = popupPlacement({350, 820}, std::nullopt, 2500, 700, right);
    EXPECT_EQ(tall.y, 30);
}

TEST(ResizedInPlace, APanelOnTheRightGrowsLeftAndOneOnTheLeftGrowsRight) {
    // A panel at the top right of a 1920-wide screen, then the largest text.
    const auto right = resizedInPlace({1570, 28, 350, 484}, {500, 820}, kScreen);
    EXPECT_EQ(right, (ScreenRect{1420, 28, 500, 820}));
    const auto left = resizedInPlace({0, 28, 350, 484}, {500, 820}, kScreen);
    EXPECT_EQ(left, (ScreenRect{0, 28, 500, 820}));
    // Smaller again: the same corners stay.
    EXPECT_EQ(resizedInPlace(right, kPanel, kScreen), (ScreenRect{1570, 28, 350, 484}));
}

TEST(ResizedInPlace, AWindowInTheLowerHalfGrowsUpAndNeverLeavesTheArea) {
    const ScreenRect area{1920, 30, 1280, 690};
    const auto placed = resizedInPlace({2000, 300, 350, 400}, {500, 600}, area);
    EXPECT_EQ(placed, (ScreenRect{2000, 100, 500, 600}));
    // Taller than the area: it starts at the area's top.
    EXPECT_EQ(resizedInPlace({2000, 300, 350, 400}, {500, 900}, area).y, 30);
}

constexpr FrameMargins kTitleBar{1, 21, 1, 1};

TEST(PlacedFrame, TheTitleBarAndBordersCountAtTheBottomAndRightEdges) {
    // The inside reaching the screen's bottom and right edges: its frame
    // pokes past both and moves back just so far, the title bar on screen.
    const auto placed = placedFrame({1570, 260, 350, 820}, kTitleBar, kScreen);
    EXPECT_EQ(placed, (ScreenRect{1568, 238, 352, 842}));
    // A frame already inside stays where it is.
    EXPECT_EQ(placedFrame({100, 121, 350, 484}, kTitleBar, kScreen),
              (ScreenRect{99, 100, 352, 506}));
}

TEST(PlacedFrame, AWindowLargerThanTheWorkAreaIsCutToItAtItsTop) {
    const ScreenRect area{1920, 28, 1280, 692};
    EXPECT_EQ(placedFrame({2000, 100, 500, 820}, kTitleBar, area),
              (ScreenRect{1999, 28, 502, 692}));
}

}  // namespace
}  // namespace quorvane
