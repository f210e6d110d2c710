#include "presentation/design/key_combination_breaks.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(KeyCombinationBreaksTest, BreaksFallBetweenKeysOnlyWhereAPlusJoinsTwoKeys) {
    EXPECT_EQ(withBreaksBetweenKeys("비상 복구 Super+Shift+L · 로컬"),
              "비상 복구 Super+\u200BShift+\u200BL · 로컬");
    // A plus that does not join two key names stays as it is: a leading or
    // trailing one, the "+" key itself, and a plus next to a space.
    EXPECT_EQ(withBreaksBetweenKeys("+5 Ctrl++ a + b L+"), "+5 Ctrl++ a + b L+");
    EXPECT_EQ(withBreaksBetweenKeys(""), "");
}

}  // namespace
}  // namespace quorvane
