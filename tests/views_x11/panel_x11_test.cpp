// The tray panel driven onto the private X server: slider rows and the
// emergency recovery reach the real CRTC gamma ramps, and the built-in
// panel's backlight (DUMMY0 stands in for it) lives in a temporary sysfs
// tree.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/sysfs_backlight_controller.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/store_bridge.hpp"
#include "views/support/simulated_store.hpp"
#include "views/support/wheel_input.hpp"
#include "views_x11/counting_gamma_controller.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

using testing::CountingGammaController;

class PanelX11Test : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        char pattern[] = "/tmp/quorvane-panel-sysfs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        sysfs = pattern;
        const fs::path device = sysfs / "class" / "backlight" / "acpi_video0";
        fs::create_directories(device);
        std::ofstream(device / "type") << "firmware\n";
        std::ofstream(device / "max_brightness") << "1000\n";
        std::ofstream(device / "brightness") << "800\n";
        brightnessFile = device / "brightness";

        panelOutput = static_cast<DisplayID>(output("DUMMY0")->id);
        colourOutput = static_cast<DisplayID>(output("DUMMY1")->id);
        auto collaborators = testing::simulatedCollaborators(scheduler);
        collaborators.displayManager = std::make_shared<DisplayManager>(displayName);
        gamma = std::make_shared<CountingGammaController>(displayName);
        collaborators.gammaController = gamma;
        const DisplayID builtin = panelOutput;
        collaborators.brightnessController = std::make_shared<SysfsBacklightController>(
            sysfs, [builtin](DisplayID id) { return id == builtin; }, nullptr);
        collaborators.deferFullRefreshes = true;
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        scheduler->runUntilIdle();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
    }
    void TearDown() override {
        panel.reset();
        context.reset();
        bridge.reset();
        store.reset();
        if (connection)
            resetRampsToIdentity();
        if (!sysfs.empty())
            fs::remove_all(sysfs);
    }

    MenuPanel& openPanel(DisplayID selected) {
        store->setSelectedDisplayID(selected);
        panel = std::make_unique<MenuPanel>(*context);
        panel->resize(390, 650);
        panel->show();
        settle();
        return *panel;
    }
    void settle() {
        scheduler->runUntilIdle();
        QApplication::processEvents();
        scheduler->runUntilIdle();
        QApplication::processEvents();
    }
    GammaRamp expectedRamp(const ColorAdjustment& adjustment, std::size_t size) {
        return GammaRamp::fromTables(gamma->makeTransferTables(adjustment), size);
    }
    long backlightLevel() {
        long level = -1;
        std::ifstream(brightnessFile) >> level;
        return level;
    }

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<CountingGammaController> gamma;
    std::unique_ptr<DisplayStore> store;
    std::unique_ptr<StoreBridge> bridge;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<MenuPanel> panel;
    fs::path sysfs;
    fs::path brightnessFile;
    DisplayID panelOutput = 0;
    DisplayID colourOutput = 0;
};

TEST_F(PanelX11Test, AnAppColourDragWritesTheCrtcOnceAtReleaseAndANudgeOnceMore) {
    MenuPanel& menu = openPanel(colourOutput);
    PanelQuickTuneCard& card = *menu.quickTuneCard();
    ASSERT_EQ(card.brightnessKind(), PanelBrightnessRowKind::appColor);
    const GammaRamp before = rampOf("DUMMY1");
    const int writesBefore = gamma->writes;

    QSlider* slider = card.brightnessRow()->slider();
    slider->setSliderDown(true);
    for (int move = 0; move < 200; ++move)
        slider->setSliderPosition(move % 120);
    slider->setSliderPosition(card.brightnessRow()->content().scale().position(0.6));
    settle();
    EXPECT_EQ(gamma->writes, writesBefore);
    EXPECT_EQ(rampOf("DUMMY1"), before);
    slider->setSliderDown(false);
    settle();
    EXPECT_EQ(gamma->writes, writesBefore + 1);
    ColorAdjustment dimmed;
    dimmed.softwareBrightness = 0.6;
    const GammaRamp afterDrag = rampOf("DUMMY1");
    EXPECT_EQ(afterDrag, expectedRamp(dimmed, afterDrag.size()));

    QTest::mouseClick(card.brightnessRow()->decrementButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(gamma->writes, writesBefore + 2);
    dimmed.softwareBrightness = 0.55;
    EXPECT_EQ(rampOf("DUMMY1"), expectedRamp(dimmed, afterDrag.size()));
}

TEST_F(PanelX11Test, AWheelOverTheRowsLeavesRampsAndBacklightAloneUntilARowIsPicked) {
    MenuPanel& menu = openPanel(colourOutput);
    menu.resize(390, 380);
    settle();
    PanelQuickTuneCard& card = *menu.quickTuneCard();
    const GammaRamp before = rampOf("DUMMY1");
    const int writesBefore = gamma->writes;
    auto* area = menu.findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    for (PanelSliderRow* row :
         {card.brightnessRow(), card.colorTemperatureRow(), card.contrastRow()}) {
        area->ensureWidgetVisible(row->slider());
        testing::turnWheel(row->slider());
        settle();
    }
    EXPECT_EQ(gamma->writes, writesBefore);
    EXPECT_EQ(rampOf("DUMMY1"), before);

    // The backlight row of the built-in output is no different.
    store->setSelectedDisplayID(panelOutput);
    settle();
    ASSERT_EQ(card.brightnessKind(), PanelBrightnessRowKind::systemBrightness);
    area->ensureWidgetVisible(card.brightnessRow()->slider());
    testing::turnWheel(card.brightnessRow()->slider());
    settle();
    EXPECT_EQ(backlightLevel(), 800);

    // A row the user picked takes its key: one write, on the real ramp.
    store->setSelectedDisplayID(colourOutput);
    settle();
    QSlider* contrast = card.contrastRow()->slider();
    QApplication::setActiveWindow(&menu);
    contrast->setFocus();
    QTest::keyClick(contrast, Qt::Key_Right);
    settle();
    EXPECT_EQ(gamma->writes, writesBefore + 1);
    ColorAdjustment stepped;
    stepped.contrast = store->colorAdjustment(colourOutput).contrast;
    EXPECT_GT(stepped.contrast, 1.0);
    EXPECT_EQ(rampOf("DUMMY1"), expectedRamp(stepped, before.size()));
}

TEST_F(PanelX11Test, TheBacklitOutputGetsTheSystemRowAndOneWritePerNudge) {
    MenuPanel& menu = openPanel(panelOutput);
    PanelQuickTuneCard& card = *menu.quickTuneCard();
    ASSERT_EQ(card.brightnessKind(), PanelBrightnessRowKind::systemBrightness);
    QTest::mouseClick(card.brightnessRow()->incrementButton(), Qt::LeftButton);
    EXPECT_EQ(backlightLevel(), 810);
    // The store shows a quick list without brightness until its full read
    // is back; the row stays the backlight's, showing the pressed value.
    QApplication::processEvents();
    ASSERT_TRUE(store->isFullDisplayRefreshPending());
    EXPECT_EQ(card.brightnessKind(), PanelBrightnessRowKind::systemBrightness);
    EXPECT_EQ(card.brightnessRow()->valueLabel()->text(), "81%");
    QTest::mouseClick(card.brightnessRow()->incrementButton(), Qt::LeftButton);
    EXPECT_EQ(backlightLevel(), 820);
    settle();
    EXPECT_EQ(card.brightnessKind(), PanelBrightnessRowKind::systemBrightness);
    EXPECT_EQ(card.brightnessRow()->valueLabel()->text(), "82%");
}

TEST_F(PanelX11Test, ConfirmedRecoveryRestoresEveryOutputAndAsksTheBacklightForHalf) {
    for (const DisplayID id : {panelOutput, colourOutput})
        store->updateColorAdjustment(id, &ColorAdjustment::warmth, 0.7);
    MenuPanel& menu = openPanel(colourOutput);
    ASSERT_NE(rampOf("DUMMY1"), GammaRamp::identity(rampOf("DUMMY1").size()));

    QTest::mouseClick(menu.recoveryCard()->recoverButton(), Qt::LeftButton);
    ASSERT_NE(menu.confirmations()->confirmButton(), nullptr);
    EXPECT_EQ(backlightLevel(), 800);  // nothing happens before the answer
    menu.confirmations()->confirmButton()->click();
    settle();
    for (const char* name : {"DUMMY0", "DUMMY1", "DUMMY2"}) {
        const GammaRamp ramp = rampOf(name);
        EXPECT_EQ(ramp, expectedRamp(ColorAdjustment::neutral(), ramp.size())) << name;
    }
    EXPECT_EQ(backlightLevel(), 500);
}

}  // namespace
}  // namespace quorvane
