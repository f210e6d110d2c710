// A change of appearance or text size restyles the main window in place:
// nothing the user was doing (a curve being edited, an open disclosure, a
// typed name, the scroll position, a dragged sidebar) is lost.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTest>
#include <functional>

#include "display_store/store_world.hpp"
#include "presentation/detail_form/reference_color_cards.hpp"
#include "views/controls/health_check_wizard.hpp"
#include "views/controls/rgb_curve_coordinate_editor.hpp"
#include "views/controls/rgb_curve_graph_view.hpp"
#include "views/design/disclosure_button.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/detail_form/new_name_row.hpp"
#include "views/main_window/main_window.hpp"
#include "views/support/layout_points_of.hpp"
#include "views/support/same_pixels.hpp"

namespace quorvane {
namespace {

using testing::externalDisplay;

class ThemeChangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        theme.setTextSize(QuorvaneTextSize::standard);
        theme.setAppearance(QuorvaneAppearance::light);
        world.deferFullRefreshes = false;
        world.connect({externalDisplay(1, "Studio", 11)});
        store = &world.start();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
        window = std::make_unique<MainWindow>(*context);
        window->resize(1100, 760);
        window->show();
        settle();
    }
    void settle() {
        for (int turn = 0; turn < 3; ++turn) {
            world.scheduler->runUntilIdle();
            QApplication::processEvents();
        }
    }
    void show(MainWindowSection section) {
        window->state().selectSection(section);
        settle();
    }
    // Every way the theme can change: appearance, text size, both back.
    void changeTheme() {
        theme.setAppearance(QuorvaneAppearance::dark);
        settle();
        theme.setTextSize(QuorvaneTextSize::veryLarge);
        settle();
        // Following the desktop, then the desktop flips its scheme.
        theme.setSystemScheme(ColorScheme::light);
        theme.setAppearance(QuorvaneAppearance::system);
        settle();
        theme.setSystemScheme(ColorScheme::dark);
        settle();
    }
    template <class T>
    T* find(const std::function<bool(T*)>& wanted = {}) const {
        for (T* widget : window->detailForm()->findChildren<T*>())
            if (widget->isVisibleTo(window.get()) && (!wanted || wanted(widget)))
                return widget;
        return nullptr;
    }

    Theme theme{false};
    WindowThemeFollower follower{theme};
    testing::StoreWorld world;
    DisplayStore* store = nullptr;
    std::unique_ptr<StoreBridge> bridge;
    ShellActions shell;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ThemeChangeTest, TheColourPageKeepsItsCurveDragDisclosureAndScrollPosition) {
    show(MainWindowSection::color);
    DetailPage* page = window->detailForm()->page();
    auto* editor = find<RGBCurveCoordinateEditor>();
    ASSERT_NE(editor, nullptr);
    const std::string_view title = channelTitle(RGBCurveChannel::red);
    auto* red = find<QAbstractButton>([editor, title](QAbstractButton* button) {
        return editor->isAncestorOf(button) &&
               button->text() == QString::fromUtf8(title.data(), static_cast<int>(title.size()));
    });
    ASSERT_NE(red, nullptr);
    red->click();
    // A drag in progress: the point moved, nothing written yet.
    emit editor->graph()->pointChanged(0.3, 0.42);
    const auto pendingGamma = editor->model().previewGamma();
    ASSERT_TRUE(pendingGamma.has_value());
    auto* fineTune = find<DisclosureButton>([](DisclosureButton* button) {
        return button->text() == QString::fromUtf8(ReferenceColorCards::kFineTuneLabel);
    });
    ASSERT_NE(fineTune, nullptr);
    fineTune->click();
    ASSERT_TRUE(fineTune->isChecked());
    auto* scroll = find<QScrollArea>();
    ASSERT_NE(scroll, nullptr);
    ASSERT_GT(scroll->verticalScrollBar()->maximum(), 150);
    scroll->verticalScrollBar()->setValue(150);
    const auto writesBefore = store->colorAdjustment(1);

    changeTheme();

    EXPECT_EQ(window->detailForm()->page(), page);  // restyled, not rebuilt
    EXPECT_EQ(editor->model().selectedChannel(), RGBCurveChannel::red);
    EXPECT_DOUBLE_EQ(editor->model().controlInput(), 0.3);
    EXPECT_EQ(editor->model().previewGamma(), pendingGamma);
    EXPECT_TRUE(fineTune->isChecked());
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 150);
    EXPECT_EQ(store->colorAdjustment(1), writesBefore);  // a restyle writes nothing
    // The restyled page took the new sizes.
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(fineTune->font()), 12 * 1.44);
}

TEST_F(ThemeChangeTest, ATypedNameAndAnOpenDetailsBlockSurvive) {
    show(MainWindowSection::presets);
    auto* row = find<NewNameRow>();
    ASSERT_NE(row, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    row->field()->setFocus();
    QTest::keyClicks(row->field(), QStringLiteral("Night shift"));
    row->field()->setCursorPosition(2);
    changeTheme();
    EXPECT_EQ(find<NewNameRow>(), row);
    EXPECT_EQ(row->field()->text(), QStringLiteral("Night shift"));
    EXPECT_EQ(row->field()->cursorPosition(), 2);
    EXPECT_TRUE(row->field()->hasFocus());
    EXPECT_EQ(window->state().newPresetName, "Night shift");

    show(MainWindowSection::diagnostics);
    auto* wizard = find<HealthCheckWizard>();
    ASSERT_NE(wizard, nullptr);
    wizard->setTechnicalDetailsExpanded(true);
    auto* toggle = wizard->findChild<DisclosureButton*>(QStringLiteral("technicalDetailsToggle"));
    theme.setTextSize(QuorvaneTextSize::standard);
    theme.setAppearance(QuorvaneAppearance::light);
    settle();
    EXPECT_EQ(find<HealthCheckWizard>(), wizard);
    EXPECT_TRUE(wizard->technicalDetailsExpanded());
    // The open block's widgets were restyled, not replaced.
    EXPECT_EQ(wizard->findChild<DisclosureButton*>(QStringLiteral("technicalDetailsToggle")),
              toggle);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(toggle->font()), 14);
}

TEST_F(ThemeChangeTest, ADraggedSidebarKeepsItsWidthWhileAnUntouchedOneFollowsTheTextSize) {
    QSplitter* split = window->splitter();
    const int first = split->sizes().value(0);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    const int followed = split->sizes().value(0);
    EXPECT_GT(followed, first);  // never dragged: the text size's width

    QSplitterHandle* handle = split->handle(1);
    const QPoint grip(handle->width() / 2, handle->height() / 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(70, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(70, 0));
    settle();
    const int dragged = split->sizes().value(0);
    ASSERT_NE(dragged, followed);

    changeTheme();
    theme.setTextSize(QuorvaneTextSize::standard);
    settle();
    EXPECT_EQ(split->sizes().value(0), dragged);
}

// Compared as pictures: a colour a widget picked itself when built (a status
// tint, a painted fill) shows as well as a palette or a font, in either
// direction of the switch.
TEST_F(ThemeChangeTest, EveryPageRestyledInPlaceLooksLikeOneBuiltInTheNewTheme) {
    struct Switch {
        QuorvaneTextSize fromSize;
        QuorvaneAppearance from;
        QuorvaneTextSize toSize;
        QuorvaneAppearance to;
    };
    const Switch switches[] = {
        {QuorvaneTextSize::standard, QuorvaneAppearance::light, QuorvaneTextSize::veryLarge,
         QuorvaneAppearance::dark},
        {QuorvaneTextSize::veryLarge, QuorvaneAppearance::dark, QuorvaneTextSize::standard,
         QuorvaneAppearance::light},
    };
    for (const auto& change : switches) {
        for (const auto section : kAllMainWindowSections) {
            const std::string name = "main-" + std::string(caseName(section)) +
                                     (change.to == QuorvaneAppearance::dark ? "-dark" : "-light");
            SCOPED_TRACE(name);
            theme.setTextSize(change.fromSize);
            theme.setAppearance(change.from);
            show(section);
            theme.setTextSize(change.toSize);
            theme.setAppearance(change.to);
            settle();
            MainWindow fresh(*context);
            fresh.resize(window->size());
            fresh.state().selectSection(section);
            fresh.show();
            settle();
            testing::expectSamePixels(*window, fresh, name);
        }
    }
}

}  // namespace
}  // namespace quorvane
