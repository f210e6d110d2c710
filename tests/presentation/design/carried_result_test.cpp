#include <gtest/gtest.h>

#include "presentation/design/carried_result.hpp"

namespace quorvane {
namespace {

// A carried result goes with the focus within its window until a screen
// reader has asked for it, waits with its control while the window has lost
// the focus, and is over once read, or where no screen reader listens.
TEST(CarriedResultTest, AResultFollowsTheFocusUntilReadAndEndsOnceRead) {
    using Step = CarriedResultStep;
    EXPECT_EQ(whenTheFocusLeavesTheCarrier({false, true, true}), Step::followsTheFocus);
    EXPECT_EQ(whenTheFocusLeavesTheCarrier({false, true, false}), Step::stays);
    for (const bool within : {true, false}) {
        EXPECT_EQ(whenTheFocusLeavesTheCarrier({true, true, within}), Step::ends);
        EXPECT_EQ(whenTheFocusLeavesTheCarrier({false, false, within}), Step::ends);
    }
}

}  // namespace
}  // namespace quorvane
