#include "presentation/shell/opening_stop.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

using enum KeyEffect;

TEST(OpeningStop, TheFirstStopWhoseKeyNeitherOpensNorShowsAnotherPage) {
    EXPECT_EQ(openingStop(std::vector{stays, opensWindow}), 0u);
    // The settings window's way to the main window comes first in reading
    // order; a sidebar row not selected shows another page.
    EXPECT_EQ(openingStop(std::vector{opensWindow, changesScreen, stays, opensWindow}), 2u);
    EXPECT_EQ(openingStop(std::vector{opensWindow, changesScreen}), std::nullopt);
    EXPECT_EQ(openingStop(std::vector<KeyEffect>{}), std::nullopt);
}

}  // namespace
}  // namespace quorvane
