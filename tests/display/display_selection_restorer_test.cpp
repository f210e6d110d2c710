#include "services/display/display_selection_restorer.hpp"

#include <gtest/gtest.h>

#include "models/display_identity.hpp"

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

TEST(DisplaySelectionRestorerTest, ConnectedSelectionIsKeptOverTheSavedIdentity) {
    std::vector displays = {display(1, true), display(2, false)};
    auto saved = DisplayIdentity::of(displays[0]).rawValue;
    EXPECT_EQ(DisplaySelectionRestorer::restore(2, displays, saved), (Result{2, false}));
}

TEST(DisplaySelectionRestorerTest, UnpluggedSelectionFallsBackToTheSavedIdentity) {
    std::vector displays = {display(1, true), display(2, false)};
    auto saved = DisplayIdentity::of(displays[1]).rawValue;
    EXPECT_EQ(DisplaySelectionRestorer::restore(7, displays, saved), (Result{2, false}));
}

TEST(DisplaySelectionRestorerTest, AbsentSavedIdentityStaysRemembered) {
    std::vector displays = {display(1, false), display(2, true)};
    auto absent = DisplayIdentity::of(display(9, false)).rawValue;
    EXPECT_EQ(DisplaySelectionRestorer::restore(std::nullopt, displays, absent),
              (Result{2, false}));
}

TEST(DisplaySelectionRestorerTest, FirstStartPicksAndRemembersTheMainDisplay) {
    EXPECT_EQ(DisplaySelectionRestorer::restore(std::nullopt, {display(1, false), display(2, true)},
                                                std::nullopt),
              (Result{2, true}));
    EXPECT_EQ(DisplaySelectionRestorer::restore(
                  std::nullopt, {display(3, false), display(4, false)}, std::nullopt),
              (Result{3, true}));
    EXPECT_EQ(DisplaySelectionRestorer::restore(std::nullopt, {}, std::nullopt),
              (Result{std::nullopt, true}));
}

}  // namespace
}  // namespace quorvane
