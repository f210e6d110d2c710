// The tray icon's menu: the one way out of the program from the tray.

#include "app/shell/tray_menu.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "views/design/theme.hpp"
#include "views/design/window_control_size.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/support/layout_points_of.hpp"

namespace quorvane {
namespace {

TEST(TrayMenu, HoldsOnlyTheQuitItemWhichQuitsOncePerChoice) {
    int quits = 0;
    const auto menu = makeTrayMenu([&quits] { ++quits; });
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions.front()->text(), QStringLiteral("Quorvane 종료"));
    EXPECT_EQ(quits, 0);
    actions.front()->trigger();
    EXPECT_EQ(quits, 1);
    actions.front()->trigger();
    EXPECT_EQ(quits, 2);
}

TEST(TrayMenu, DrawsInTheThemeItOpensInAndFollowsEveryLaterChange) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::dark);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    WindowThemeFollower follower(theme);
    const auto menu = makeTrayMenu([] {});

    menu->popup(QPoint(20, 20));
    QApplication::processEvents();
    EXPECT_EQ(menu->palette().color(QPalette::Window), theme.color(ColorRole::windowBackground));
    EXPECT_LT(menu->palette().color(QPalette::Window).lightness(), 100);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(menu->font()), 20.16);

    theme.setAppearance(QuorvaneAppearance::light);
    theme.setTextSize(QuorvaneTextSize::large);
    EXPECT_EQ(menu->palette().color(QPalette::Window), theme.color(ColorRole::windowBackground));
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(menu->font()), 15.68);
    EXPECT_EQ(controlSizeOf(menu.get()), QuorvaneControlSize::large);
}

}  // namespace
}  // namespace quorvane
