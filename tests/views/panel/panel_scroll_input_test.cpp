// Scrolling the panel never writes: a wheel over a quick-tune row the user
// has not picked moves the panel, including a row that talks to the
// monitor, while a picked row still takes its keyboard step.

#include <gtest/gtest.h>

#include <QSlider>
#include <QTest>

#include "views/panel/short_panel_fixture.hpp"
#include "views/support/wheel_input.hpp"

namespace quorvane::testing {
namespace {

struct PanelScrollInputTest : ShortPanelTest {
    bool wheelScrollsPast(QWidget* control) {
        return testing::wheelScrollsPast(control, [this] { settle(); });
    }
};

TEST_F(PanelScrollInputTest, AWheelOverEveryRowScrollsThePanelAndWritesNothing) {
    const ColorAdjustment before = store().colorAdjustment(PanelWorld::kMonitorID);
    const int gammaWrites = world.gamma->writeCount();
    for (PanelSliderRow* row : rows()) {
        EXPECT_TRUE(wheelScrollsPast(row->slider()));
        EXPECT_FALSE(row->slider()->hasFocus());
    }
    EXPECT_EQ(store().colorAdjustment(PanelWorld::kMonitorID), before);
    EXPECT_EQ(world.gamma->writeCount(), gammaWrites);
    EXPECT_FALSE(store().recentChangeRecoveryPrompt());

    // Once the monitor has answered, the brightness row writes over DDC/CI.
    store().probeDDC(PanelWorld::kMonitorID);
    settle();
    ASSERT_EQ(card().brightnessKind(), PanelBrightnessRowKind::monitorBrightness);
    const int sets = world.monitorSetRequests(0x10);
    EXPECT_TRUE(wheelScrollsPast(card().brightnessRow()->slider()));
    settle();
    EXPECT_EQ(world.monitorSetRequests(0x10), sets);
}

TEST_F(PanelScrollInputTest, APickedRowTakesItsKeyboardStepAsOneWrite) {
    QSlider* contrast = card().contrastRow()->slider();
    QApplication::setActiveWindow(panel.get());
    contrast->setFocus();
    const int gammaWrites = world.gamma->writeCount();
    QTest::keyClick(contrast, Qt::Key_Right);
    settle();
    EXPECT_EQ(world.gamma->writeCount(), gammaWrites + 1);
    EXPECT_GT(store().colorAdjustment(PanelWorld::kMonitorID).contrast, 1.0);
}

}  // namespace
}  // namespace quorvane::testing
