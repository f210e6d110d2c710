// The tray icon's menu: the one way out of the program from the tray.

#include "app/shell/tray_menu.hpp"

#include <gtest/gtest.h>

#include <QAction>

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

}  // namespace
}  // namespace quorvane
