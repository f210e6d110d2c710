#pragma once

// A store on the simulated platform with its displays (two external ones
// unless a test sets `displays` before SetUp) and the view context the
// windows are built with, for tests that open whole windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "display_store/store_world.hpp"
#include "views/design/theme.hpp"
#include "views/store_bridge.hpp"
#include "views/view_context.hpp"

namespace quorvane::testing {

class WindowWorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect(displays);
        if (monitorLink)
            startWithMonitorLink(world, monitorLink);
        else
            world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
    }
    void open(QWidget* window) {
        window->show();
        window->raise();
        window->activateWindow();
        settle();
    }
    // Lets the store's work and the bridge's signal run their course.
    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            QApplication::processEvents();
            world.scheduler->runUntilIdle();
        }
    }

    std::vector<DisplaySnapshot> displays{externalDisplay(1, "Studio", 1001),
                                          externalDisplay(2, "Side", 2002)};
    // The monitor link the store talks to, when a test sets one before
    // SetUp (one that never answers otherwise).
    std::shared_ptr<DDCControlling> monitorLink;
    StoreWorld world;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
};

}  // namespace quorvane::testing
