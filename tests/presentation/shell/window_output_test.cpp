#include "presentation/shell/window_output.hpp"

#include <gtest/gtest.h>

#include <chrono>

namespace quorvane {
namespace {

const std::vector<ScreenRect> kOutputs{
    {0, 0, 1920, 1080}, {1920, 0, 1280, 720}, {3200, 0, 1600, 900}};

TEST(WindowOutput, AFrameStandsInsideOnlyWhollyWithin) {
    EXPECT_TRUE(standsInside({0, 0, 1920, 1052}, {0, 0, 1920, 1052}));
    EXPECT_FALSE(standsInside({0, 1, 1920, 1052}, {0, 0, 1920, 1052}));
    EXPECT_FALSE(standsInside({-1, 0, 100, 100}, {0, 0, 1920, 1052}));
}

TEST(WindowOutput, AWindowBelongsToTheOutputShowingMostOfIt) {
    // 84 px on the primary, the rest on the 720-high output.
    EXPECT_EQ(homeOutput({1836, 40, 842, 600}, kOutputs, 0), 1U);
    EXPECT_EQ(homeOutput({1400, 40, 842, 600}, kOutputs, 0), 0U);
}

TEST(WindowOutput, AWindowOnNoOutputBelongsToTheNearest) {
    // The 720-high output went: what stood on it is nearer the primary.
    const std::vector<ScreenRect> left{kOutputs[0], kOutputs[2]};
    EXPECT_EQ(homeOutput({1950, 40, 842, 600}, left, 1), 0U);
    // Below the 720-high output, nearer the third one.
    EXPECT_EQ(homeOutput({3100, 800, 90, 50}, kOutputs, 0), 2U);
    EXPECT_EQ(homeOutput({0, 0, 10, 10}, {}, 0), std::nullopt);
}

TEST(WindowOutput, WhereTwoCountTheSameThePrimaryWins) {
    const std::vector<ScreenRect> apart{{0, 0, 100, 100}, {300, 0, 100, 100}};
    EXPECT_EQ(homeOutput({150, 0, 100, 10}, apart, 1), 1U);
    EXPECT_EQ(homeOutput({150, 0, 100, 10}, apart, 0), 0U);
}

TEST(WindowOutput, AWindowOpensCentredOverTheOneThatOpenedIt) {
    const ScreenRect area{1920, 0, 1280, 720};
    EXPECT_EQ(openingFrame({640, 600}, std::nullopt, {2000, 40, 842, 600}, area),
              (ScreenRect{2101, 40, 640, 600}));
    // Taller than its opener at the top: moved into the area.
    EXPECT_EQ(openingFrame({640, 700}, std::nullopt, {2500, 0, 600, 300}, area),
              (ScreenRect{2480, 0, 640, 700}));
    EXPECT_EQ(openingFrame({640, 700}, std::nullopt, {3000, 0, 200, 300}, area).x, 2560);
}

TEST(WindowOutput, AWindowItsUserPlacedOpensThereAndIsCutToTheArea) {
    const ScreenRect area{0, 0, 1920, 1052};
    EXPECT_EQ(openingFrame({640, 600}, ScreenRect{100, 200, 640, 600}, {2000, 40, 842, 600}, area),
              (ScreenRect{100, 200, 640, 600}));
    EXPECT_EQ(openingFrame({2000, 1100}, ScreenRect{100, 200, 640, 600}, {}, area), area);
}

TEST(WindowOutput, AtAFractionalScaleAWindowKeepsAPixelFromEachEdge) {
    // 720 device pixels at one and a half: a frame reaching logical 480
    // may end at device 721 once its place, size and frame are each rounded.
    EXPECT_EQ(wholePixelArea({1280, 0, 853, 480}, 1.5), (ScreenRect{1281, 1, 851, 478}));
    EXPECT_EQ(wholePixelArea({1920, 14, 640, 346}, 2.0), (ScreenRect{1920, 14, 640, 346}));
    EXPECT_EQ(wholePixelArea({0, 0, 1920, 1052}, 1.0), (ScreenRect{0, 0, 1920, 1052}));
}

TEST(WindowOutput, OnlyAMoveAwayFromWhereTheProgramPutItCountsAsTheUsers) {
    UserPlacement placement;
    // Where the window manager first puts a window the program never placed.
    EXPECT_FALSE(placement.reported({5, 25, 10, 10}, {4, 4, 12, 32}));
    placement.closed({4, 4, 12, 32});
    EXPECT_EQ(placement.userPlaced(), std::nullopt);
    // Its frame turns out 4 px shorter than guessed: the inside stands where
    // it was put, and the pixel a fractional scale may shift is no move.
    placement.placed({100, 121, 640, 600}, true);
    EXPECT_FALSE(placement.reported({101, 120, 640, 600}, {100, 100, 642, 622}));
    placement.closed({100, 100, 642, 622});
    EXPECT_EQ(placement.userPlaced(), std::nullopt);

    // Placed for its opening, the window manager keeps it there and reports
    // nothing: the first place reported is the user's move.
    placement.placed({100, 121, 640, 600}, true);
    placement.shown();
    EXPECT_EQ(placement.programPlace(), (ScreenRect{100, 121, 640, 600}));
    EXPECT_TRUE(placement.reported({2000, 51, 640, 600}, {1999, 30, 642, 626}));
    EXPECT_TRUE(placement.movedByUser());
    EXPECT_EQ(placement.userPlaced(), (ScreenRect{1999, 30, 642, 626}));
    // Reported there again as the frame settles: the same move.
    EXPECT_FALSE(placement.reported({2000, 51, 640, 600}, {1999, 30, 642, 626}));
    // Kept inside a shrunken output by the program, then closed: it opens
    // where it last stood.
    placement.placed({2000, 11, 640, 600});
    placement.closed({1999, -10, 642, 626});
    EXPECT_EQ(placement.userPlaced(), (ScreenRect{1999, -10, 642, 626}));
    // A new opening there, unmoved: still the user's place, no move of this
    // opening.
    placement.placed({2000, 51, 640, 600}, true);
    EXPECT_FALSE(placement.movedByUser());
    placement.closed({1999, 30, 642, 626});
    EXPECT_EQ(placement.userPlaced(), (ScreenRect{1999, 30, 642, 626}));
}

TEST(WindowOutput, APlaceLeavesTheProgramsOnlyBeyondWhatAWindowManagerMayShiftIt) {
    using namespace std::chrono_literals;
    const UserPlacement::Moment shownAt{100s};
    UserPlacement placement;
    // Before the program places it, no place is away from its place.
    EXPECT_FALSE(placement.leavesProgramPlace({960, 0, 639, 347}));
    placement.placed({1920, 0, 639, 347}, true);
    placement.shown();
    placement.mapped(shownAt, {1920, 0, 639, 347});
    EXPECT_TRUE(placement.leavesProgramPlace({960, 0, 639, 347}, shownAt + 10ms, 2));
    EXPECT_TRUE(placement.leavesProgramPlace({1921, 10, 639, 347}, shownAt + 10ms, 2));
    EXPECT_FALSE(placement.leavesProgramPlace({1922, 1, 639, 347}, shownAt + 10ms, 2));
    EXPECT_TRUE(placement.leavesProgramPlace({1922, 1, 639, 347}, shownAt + 2s, 2));
    // Asking changes nothing: no move is counted.
    EXPECT_FALSE(placement.movedByUser());
    EXPECT_EQ(placement.programPlace(), (ScreenRect{1920, 0, 639, 347}));
}

TEST(WindowOutput, APlaceQtTellsIsPassingOnlyWhereTheServerStillHasTheWindowAtTheProgramsPlace) {
    using namespace std::chrono_literals;
    const UserPlacement::Moment shownAt{100s};
    UserPlacement placement;
    placement.placed({1920, 0, 639, 347}, true);
    placement.shown();
    placement.mapped(shownAt, {1920, 0, 639, 347});
    const ScreenRect told{960, 0, 639, 347};
    EXPECT_TRUE(placement.passingPlace(told, ScreenRect{1920, 0, 639, 347}, shownAt + 10ms, 2));
    // The server has it there too, or cannot say: the user's move.
    EXPECT_FALSE(placement.passingPlace(told, ScreenRect{960, 0, 639, 347}, shownAt + 10ms, 2));
    EXPECT_FALSE(placement.passingPlace(told, std::nullopt, shownAt + 10ms, 2));
    // Told at the program's place: nothing passing to take back.
    EXPECT_FALSE(placement.passingPlace({1920, 0, 639, 347}, ScreenRect{1920, 0, 639, 347}));
}

TEST(WindowOutput, AWindowTheProgramDidNotPlaceStandsFirstWhereTheWindowManagerPutsIt) {
    UserPlacement placement;
    placement.shown();
    // Kept inside before it was framed, around a frame not yet known.
    placement.placed({1, 1, 840, 620});
    // Nothing of the program's to take back from a passing place Qt reports.
    EXPECT_EQ(placement.programPlace(), std::nullopt);
    EXPECT_FALSE(placement.reported({220, 55, 840, 620}, {219, 42, 842, 636}));
    EXPECT_FALSE(placement.movedByUser());
    EXPECT_TRUE(placement.reported({600, 55, 840, 620}, {599, 42, 842, 636}));
    // Shown again: the window manager's choice again, and no move yet.
    placement.shown();
    EXPECT_FALSE(placement.movedByUser());
    EXPECT_FALSE(placement.reported({300, 55, 840, 620}, {299, 42, 842, 636}));
}

TEST(WindowOutput, AFewPixelsAsTheWindowShowsAreTheWindowManagersAndLaterTheUsers) {
    using namespace std::chrono_literals;
    const UserPlacement::Moment shownAt{100s};
    const ScreenRect frame{99, 100, 642, 622};
    const auto openedAt = [&](ScreenRect inside) {
        UserPlacement placement;
        placement.placed(inside, true);
        placement.shown();
        placement.mapped(shownAt, inside);
        return placement;
    };
    // Nudged 3 device pixels right as it shows, at 1 and at 1.5: no move of
    // the user's, and no place to open at again.
    auto nudged = openedAt({100, 121, 640, 600});
    EXPECT_FALSE(nudged.reported({103, 121, 640, 600}, frame, shownAt + 200ms, 1));
    nudged.closed(frame);
    EXPECT_FALSE(nudged.movedByUser());
    EXPECT_EQ(nudged.userPlaced(), std::nullopt);
    EXPECT_FALSE(
        openedAt({100, 121, 640, 600}).reported({102, 120, 640, 600}, frame, shownAt + 900ms, 1.5));
    // Six device pixels at twice the scale is further than a nudge.
    EXPECT_TRUE(
        openedAt({100, 121, 640, 600}).reported({103, 121, 640, 600}, frame, shownAt + 10ms, 2));
    // Once its user could have taken its frame, a drag of two pixels is theirs.
    auto dragged = openedAt({100, 121, 640, 600});
    EXPECT_TRUE(dragged.reported({102, 121, 640, 600}, frame, shownAt + 1s, 1));
    EXPECT_TRUE(dragged.movedByUser());
}

// Placed by the window manager, the window stands where it was shown:
// every move after is its user's, the first one too, whether Qt told the
// window manager's place before the window showed or after; a few pixels as
// it shows are the window manager's. Closed, moved or not, it is known where
// it stood.
TEST(WindowOutput, EveryMoveAfterAWindowManagerPlacedTheWindowIsTheUsersTheFirstOneToo) {
    using namespace std::chrono_literals;
    const UserPlacement::Moment shownAt{100s};
    const ScreenRect shownThere{480, 237, 840, 620};
    const ScreenRect frame{1949, 20, 842, 645};
    struct Row {
        const char* what;
        std::optional<ScreenRect> toldBeforeShown;
        ScreenRect told;
        std::chrono::milliseconds after;
        double scale;
        bool users;
    };
    const Row rows[] = {
        {"dragged to another output", shownThere, {1950, 40, 840, 620}, 2s, 1, true},
        {"dragged, nothing told before", std::nullopt, {1950, 40, 840, 620}, 2s, 1, true},
        {"moved by keys in its output", shownThere, {504, 237, 840, 620}, 2s, 1, true},
        {"moved by keys at twice the scale", shownThere, {492, 237, 840, 620}, 2s, 2, true},
        {"the window manager's place told late", std::nullopt, shownThere, 10ms, 1, false},
        {"nudged as it shows", shownThere, {483, 237, 840, 620}, 200ms, 1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        UserPlacement placement;
        placement.shown();
        if (row.toldBeforeShown) {
            EXPECT_FALSE(placement.reported(*row.toldBeforeShown, frame));
        }
        placement.mapped(shownAt, shownThere);
        EXPECT_EQ(placement.reported(row.told, frame, shownAt + row.after, row.scale), row.users);
        EXPECT_EQ(placement.movedByUser(), row.users);
        placement.closed(frame);
        EXPECT_EQ(placement.closedAt(), frame);
        EXPECT_EQ(placement.userPlaced(), row.users ? std::optional(frame) : std::nullopt);
    }
}

}  // namespace
}  // namespace quorvane
