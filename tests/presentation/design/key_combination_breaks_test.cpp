#include "presentation/design/key_combination_breaks.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(KeyCombinationBreaksTest, APlusJoiningTwoKeysIsBoundToThemOnBothSides) {
    EXPECT_EQ(withKeyCombinationsWhole("비상 복구 Super+Shift+L · 로컬"),
              "비상 복구 Super\u2060+\u2060Shift\u2060+\u2060L · 로컬");
    // A plus that does not join two key names stays as it is: a leading or
    // trailing one, the "+" key itself, and a plus next to a space.
    EXPECT_EQ(withKeyCombinationsWhole("+5 Ctrl++ a + b L+"), "+5 Ctrl++ a + b L+");
    EXPECT_EQ(withKeyCombinationsWhole(""), "");
}

}  // namespace
}  // namespace quorvane
