#include <gtest/gtest.h>

#include "presentation/design/scroll_bar_geometry.hpp"

namespace quorvane {
namespace {

TEST(ScrollBarGeometryTest, TheThumbShowsTheVisibleShareAndTravelsTheWholeTrack) {
    // 300 of 1200 visible: a quarter of a 400 track.
    EXPECT_EQ(scrollThumb(400, 0, 900, 300, 0, 28), (ScrollThumb{0, 100}));
    EXPECT_EQ(scrollThumb(400, 0, 900, 300, 900, 28), (ScrollThumb{300, 100}));
    EXPECT_EQ(scrollThumb(400, 0, 900, 300, 450, 28), (ScrollThumb{150, 100}));
    // A range that does not start at zero moves the same way.
    EXPECT_EQ(scrollThumb(400, 100, 1000, 300, 1000, 28), (ScrollThumb{300, 100}));
}

TEST(ScrollBarGeometryTest, LongContentKeepsAThumbOneCanGrab) {
    // 10 of 100010 visible would be a sliver; it keeps the least length and
    // still reaches the end of the track.
    EXPECT_EQ(scrollThumb(400, 0, 100000, 10, 0, 28), (ScrollThumb{0, 28}));
    EXPECT_EQ(scrollThumb(400, 0, 100000, 10, 100000, 28), (ScrollThumb{372, 28}));
    // A track shorter than the least thumb is all thumb.
    EXPECT_EQ(scrollThumb(20, 0, 100000, 10, 50000, 28), (ScrollThumb{0, 20}));
}

TEST(ScrollBarGeometryTest, NothingToScrollIsAllThumbAndValuesOutsideTheRangeStayOnTheTrack) {
    EXPECT_EQ(scrollThumb(400, 0, 0, 300, 0, 28), (ScrollThumb{0, 400}));
    EXPECT_EQ(scrollThumb(400, 0, 900, 300, -50, 28), (ScrollThumb{0, 100}));
    EXPECT_EQ(scrollThumb(400, 0, 900, 300, 5000, 28), (ScrollThumb{300, 100}));
    EXPECT_EQ(scrollThumb(-5, 0, 900, 300, 0, 28), (ScrollThumb{0, 0}));
}

}  // namespace
}  // namespace quorvane
