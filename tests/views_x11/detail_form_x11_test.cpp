// The main window's colour page driven onto the private X server: scrolling
// the page past its slider rows leaves the CRTC gamma ramps as they were;
// only a row the user picked changes them, once per step. A comparison
// started from the keyboard ends when the keyboard leaves it.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QSlider>
#include <QTest>
#include <memory>

#include "platform/linux/crtc_gamma.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/detail_form/slider_row_views.hpp"
#include "views/store_bridge.hpp"
#include "views/support/simulated_store.hpp"
#include "views/support/wheel_input.hpp"
#include "views_x11/counting_gamma_controller.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

class DetailFormX11Test : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        colourOutput = static_cast<DisplayID>(output("DUMMY1")->id);
        auto collaborators = testing::simulatedCollaborators(scheduler);
        collaborators.displayManager = std::make_shared<DisplayManager>(displayName);
        gamma = std::make_shared<testing::CountingGammaController>(displayName);
        collaborators.gammaController = gamma;
        collaborators.deferFullRefreshes = true;
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        settle();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
        store->setSelectedDisplayID(colourOutput);
        window = std::make_unique<QWidget>();
        confirmations = new ConfirmationPresenter(window.get());
        form = new DisplayDetailForm(*context, state, *confirmations, window.get());
        state.sectionsChanged = [this] { form->refresh(); };
        QObject::connect(bridge.get(), &StoreBridge::storeChanged, form,
                         &DisplayDetailForm::refresh);
        window->resize(640, 420);
        form->resize(640, 420);
        window->show();
        state.selectSection(MainWindowSection::color);
        settle();
    }
    void TearDown() override {
        window.reset();
        context.reset();
        bridge.reset();
        store.reset();
        if (connection)
            resetRampsToIdentity();
    }

    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            scheduler->runUntilIdle();
            QApplication::processEvents();
        }
    }

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<testing::CountingGammaController> gamma;
    std::unique_ptr<DisplayStore> store;
    std::unique_ptr<StoreBridge> bridge;
    Theme theme{false};
    ShellActions shell;
    std::unique_ptr<ViewContext> context;
    MainWindowState state;
    std::unique_ptr<QWidget> window;
    ConfirmationPresenter* confirmations = nullptr;
    DisplayDetailForm* form = nullptr;
    DisplayID colourOutput = 0;
};

TEST_F(DetailFormX11Test, ScrollingPastTheColourRowsLeavesTheRampsAndAPickedRowStepsThemOnce) {
    QList<QSlider*> sliders;
    for (auto* row : form->findChildren<SoftwareSliderRowView*>())
        if (row->isVisibleTo(form))
            sliders += row->findChildren<QSlider*>();
    ASSERT_GE(sliders.size(), 4);
    const GammaRamp before = rampOf("DUMMY1");
    const int writesBefore = gamma->writes;
    for (QSlider* slider : sliders) {
        EXPECT_TRUE(testing::wheelScrollsPast(slider, [this] { settle(); }))
            << slider->accessibleName().toStdString();
    }
    EXPECT_EQ(gamma->writes, writesBefore);
    EXPECT_EQ(rampOf("DUMMY1"), before);
    EXPECT_FALSE(store->recentChangeRecoveryPrompt());

    QSlider* contrast = nullptr;
    for (QSlider* slider : sliders)
        if (slider->accessibleName() == QStringLiteral("어두운 영역"))
            contrast = slider;
    ASSERT_NE(contrast, nullptr);
    QApplication::setActiveWindow(window.get());
    contrast->setFocus();
    QTest::keyClick(contrast, Qt::Key_Right);
    settle();
    EXPECT_EQ(gamma->writes, writesBefore + 1);
    ColorAdjustment stepped;
    stepped.contrast = store->colorAdjustment(colourOutput).contrast;
    EXPECT_DOUBLE_EQ(stepped.contrast, 1.05);
    EXPECT_EQ(rampOf("DUMMY1"),
              GammaRamp::fromTables(gamma->makeTransferTables(stepped), before.size()));
}

// Space on the compare area shows the screen without its correction; Tab
// away is letting go and the correction is back on the CRTC. A change made
// meanwhile ends the comparison: the area says the current colour, and the
// next Space compares at once.
TEST_F(DetailFormX11Test, TabAwayFromAComparisonPutsTheCorrectionBackOnTheScreen) {
    store->updateColorAdjustment(colourOutput, [](ColorAdjustment& value) { value.warmth = 0.6; });
    settle();
    const GammaRamp corrected = rampOf("DUMMY1");
    const GammaRamp neutral = GammaRamp::fromTables(
        gamma->makeTransferTables(ColorAdjustment::neutral()), corrected.size());
    ASSERT_NE(corrected, neutral);
    auto* area = form->findChild<HoldToCompareButton*>();
    ASSERT_NE(area, nullptr);
    QApplication::setActiveWindow(window.get());
    area->setFocus();
    ASSERT_TRUE(area->hasFocus());

    QTest::keyClick(area, Qt::Key_Space);
    settle();
    EXPECT_EQ(rampOf("DUMMY1"), neutral);
    QTest::keyClick(area, Qt::Key_Tab);
    settle();
    ASSERT_NE(QApplication::focusWidget(), area);
    EXPECT_EQ(rampOf("DUMMY1"), corrected);

    area->setFocus();
    QTest::keyClick(area, Qt::Key_Space);
    settle();
    ASSERT_EQ(rampOf("DUMMY1"), neutral);
    // A change from elsewhere (a shortcut, the command line) meanwhile.
    store->updateColorAdjustment(colourOutput, [](ColorAdjustment& value) { value.warmth = 0.3; });
    settle();
    const GammaRamp changed = rampOf("DUMMY1");
    EXPECT_NE(changed, neutral);
    EXPECT_NE(changed, corrected);
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(area);
    EXPECT_EQ(heard->text(QAccessible::Value), QStringLiteral("현재 색감"));
    EXPECT_EQ(heard->role(), QAccessible::Button);
    QTest::keyClick(area, Qt::Key_Space);
    settle();
    EXPECT_EQ(rampOf("DUMMY1"), neutral);
    QTest::keyClick(area, Qt::Key_Tab);
    settle();
    EXPECT_EQ(rampOf("DUMMY1"), changed);
}

}  // namespace
}  // namespace quorvane
