#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <memory>
#include <vector>

#include "views/design/theme.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/panel/panel_world.hpp"
#include "views/store_bridge.hpp"

namespace quorvane::testing {

// A panel shorter than its content, so it scrolls.
class ShortPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
        world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
        panel = std::make_unique<MenuPanel>(*context);
        panel->resize(390, 380);
        panel->show();
        settle();
        area = panel->findChild<QScrollArea*>();
        ASSERT_NE(area, nullptr);
        ASSERT_GT(area->verticalScrollBar()->maximum(), 0);
    }
    void settle() {
        world.settle();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    DisplayStore& store() { return *world.store; }
    PanelQuickTuneCard& card() { return *panel->quickTuneCard(); }
    std::vector<PanelSliderRow*> rows() {
        return {card().brightnessRow(), card().colorTemperatureRow(), card().contrastRow()};
    }

    PanelWorld world;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<MenuPanel> panel;
    QScrollArea* area = nullptr;
};

inline int windowY(QWidget* widget) {
    return widget->mapTo(widget->window(), QPoint(0, 0)).y();
}

}  // namespace quorvane::testing
