#include "presentation/shell/panel_access.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(PanelAccess, WithATrayIconThePanelIsItsPopupAndTheProgramLivesOnInTheTray) {
    EXPECT_EQ(panelAccess(true, false), (PanelAccess{.popupAtTrayIcon = true}));
}

TEST(PanelAccess, WithoutOneTheMainWindowOffersThePanelAndOpensWhenNothingIsShown) {
    const auto unseen = panelAccess(false, false);
    EXPECT_FALSE(unseen.popupAtTrayIcon);
    EXPECT_TRUE(unseen.mainWindowOffersPanel);
    EXPECT_TRUE(unseen.lastWindowEndsProgram);
    EXPECT_TRUE(unseen.opensMainWindow);
    // A tray gone while a window shows: that window stays the way in.
    EXPECT_FALSE(panelAccess(false, true).opensMainWindow);
}

TEST(PanelAccess, TheLastSurfaceGoneEndsTheProgramWithoutATrayOrOpensTheMainWindowForThePopup) {
    // Another surface shows (the main window closed beside the small window).
    EXPECT_EQ(afterSurfaceGone(false, true, false), AfterSurfaceGone::nothing);
    EXPECT_EQ(afterSurfaceGone(false, false, false), AfterSurfaceGone::endsProgram);
    // The popup whose tray went while it was open.
    EXPECT_EQ(afterSurfaceGone(false, false, true), AfterSurfaceGone::opensMainWindow);
    EXPECT_EQ(afterSurfaceGone(true, false, true), AfterSurfaceGone::nothing);
}

}  // namespace
}  // namespace quorvane
