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

}  // namespace
}  // namespace quorvane
