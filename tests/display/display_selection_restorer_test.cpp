#include "services/display/display_selection_restorer.hpp"

#include <gtest/gtest.h>

#include "models/display/display_identity.hpp"

namespace quorvane {
namespace {

DisplaySnapshot display(DisplayID id, bool isMain) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.name = "Display " + std::to_string(id);
    snapshot.vendorNumber = 1552;
    snapshot.modelNumber = 100 + id;
    snapshot.serialNumber = id;
    snapshot.isMain = isMain;
    return snapshot;
}

using Result = DisplaySelectionRestorer::Result;

TEST(DisplaySelectionRestorerTest, SelectionThenSavedIdentityThenMainDisplay) {
    const std::vector displays = {display(1, true), display(2, false)};
    const auto first = DisplayIdentity::of(displays[0]).rawValue;
    const auto second = DisplayIdentity::of(displays[1]).rawValue;
    const auto absent = DisplayIdentity::of(display(9, false)).rawValue;
    // A connected selection wins over the saved identity.
    EXPECT_EQ(DisplaySelectionRestorer::restore(2, displays, first), (Result{2, false}));
    // An unplugged selection falls back to the saved identity.
    EXPECT_EQ(DisplaySelectionRestorer::restore(7, displays, second), (Result{2, false}));
    // An absent saved identity stays remembered while the main display is shown.
    EXPECT_EQ(DisplaySelectionRestorer::restore(std::nullopt, {display(1, false), display(2, true)},
                                                absent),
              (Result{2, false}));
    // First start: the main display (else the first) is picked and remembered.
    EXPECT_EQ(DisplaySelectionRestorer::restore(std::nullopt, displays, std::nullopt),
              (Result{1, true}));
    EXPECT_EQ(DisplaySelectionRestorer::restore(
                  std::nullopt, {display(3, false), display(4, false)}, std::nullopt),
              (Result{3, true}));
    EXPECT_EQ(DisplaySelectionRestorer::restore(std::nullopt, {}, std::nullopt),
              (Result{std::nullopt, true}));
}

}  // namespace
}  // namespace quorvane
