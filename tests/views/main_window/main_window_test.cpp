// The main window on a store of the simulated platform: what it redraws in
// place, what it asks of the store when shown, deactivated or clicked.

#include "views/main_window/main_window.hpp"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>
#include <QTest>

#include "display_store/store_world.hpp"
#include "presentation/main_window/main_window_texts.hpp"
#include "views/controls/rgb_curve_coordinate_editor.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/card_grid.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/detail_form/monitor_settings_section_view.hpp"
#include "views/main_window/main_utility_header.hpp"
#include "views/main_window/main_window_sidebar.hpp"
#include "views/main_window/no_display_state.hpp"
#include "views/main_window/sidebar_row_button.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/ink.hpp"

namespace quorvane {
namespace {

using testing::externalDisplay;

class MainWindowTest : public ::testing::Test {
  protected:
    // With `monitorLink`, monitors answer through it; else they never answer.
    void start(std::vector<DisplaySnapshot> displays,
               std::shared_ptr<DDCControlling> monitorLink = nullptr) {
        world.deferFullRefreshes = false;
        world.connect(std::move(displays));
        store = monitorLink ? &testing::startWithMonitorLink(world, std::move(monitorLink))
                            : &world.start();
        bridge = std::make_unique<StoreBridge>(*store);
        shell.openSettings = [this] { ++settingsOpened; };
        shell.togglePanel = [this] { ++panelOpened; };
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
        window = std::make_unique<MainWindow>(*context);
    }

    // Lets the bridge's once-per-turn signal reach the window.
    static void settle() { QApplication::processEvents(); }

    SidebarRowButton* markedDisplayRow() const {
        SidebarRowButton* marked = nullptr;
        for (auto* row : window->sidebar()->displayRows()) {
            if (row->row().isSelected) {
                EXPECT_EQ(marked, nullptr) << "two marked display rows";
                marked = row;
            }
        }
        return marked;
    }

    // The window's visible button with this text, or null.
    QAbstractButton* buttonTitled(const QString& text) const {
        for (auto* button : window->findChildren<QAbstractButton*>())
            if (button->text() == text && button->isVisibleTo(window.get()))
                return button;
        return nullptr;
    }
    bool showsMonitorPage() const {
        const auto* page = window->detailForm()->page();
        return window->state().selectedSection == MainWindowSection::hardware && page &&
               page->findChild<MonitorSettingsSectionView*>() != nullptr &&
               window->sidebar()->sectionRow(MainWindowSection::hardware)->row().isSelected;
    }

    Theme theme{false};
    testing::StoreWorld world;
    DisplayStore* store = nullptr;
    std::unique_ptr<StoreBridge> bridge;
    ShellActions shell;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<MainWindow> window;
    int settingsOpened = 0;
    int panelOpened = 0;
};

// At the window's usual size the colour page shows its cards in two
// columns, the curve editor in its compact form inside a half-width card;
// at the largest text size the cards stand in one column.
TEST_F(MainWindowTest, TheColourCardsStandInTwoColumnsAtTheUsualWindowSize) {
    theme.setTextSize(QuorvaneTextSize::standard);
    start({externalDisplay(1, "Studio", 1001)});
    window->resize(840, 620);
    window->show();
    window->state().selectSection(MainWindowSection::color);
    settle();
    settle();
    auto* grid = window->findChild<CardGrid*>();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->columnsShown(), 2);
    auto* editor = window->findChild<RGBCurveCoordinateEditor*>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->coordinateReadout()->arrangement(), FitArrangement::vertical);
    // Nothing of the editor reaches past its own right edge.
    for (auto* child : editor->findChildren<QWidget*>()) {
        if (child->isVisibleTo(editor)) {
            EXPECT_LE(child->mapTo(editor, QPoint(child->width(), 0)).x(), editor->width())
                << child->metaObject()->className();
        }
    }

    theme.setTextSize(QuorvaneTextSize::veryLarge);
    settle();
    EXPECT_EQ(grid->columnsShown(), 1);
}

TEST_F(MainWindowTest, AFreshWindowStartsOnTheStartPageWithTheGroupClosed) {
    start({externalDisplay(1, "Studio", 11), externalDisplay(2, "Side", 22, 1920)});
    EXPECT_EQ(window->state().selectedSection, MainWindowSection::start);
    EXPECT_TRUE(window->sidebar()->sectionRow(MainWindowSection::start)->row().isSelected);
    EXPECT_FALSE(window->sidebar()->advancedDisclosure()->isChecked());
    EXPECT_GE(window->minimumWidth(), 820);
    EXPECT_GE(window->minimumHeight(), 560);
    ASSERT_EQ(window->sidebar()->displayRows().size(), 2u);
    EXPECT_EQ(window->windowTitle(),
              QString::fromStdString(store->displayLabel(*store->selectedDisplay())));
}

TEST_F(MainWindowTest, ShowingTheWindowReadsTheDisplaysAgain) {
    start({externalDisplay(1, "Studio", 11)});
    // A monitor plugged in while the window was closed.
    world.connect({externalDisplay(1, "Studio", 11), externalDisplay(2, "Side", 22, 1920)});
    EXPECT_EQ(store->displays().size(), 1u);
    window->show();
    settle();
    EXPECT_EQ(store->displays().size(), 2u);
    EXPECT_EQ(window->sidebar()->displayRows().size(), 2u);
}

TEST_F(MainWindowTest, DeactivatingTheApplicationEndsARunningComparison) {
    start({externalDisplay(1, "Studio", 11)});
    store->updateColorAdjustment(1, [](ColorAdjustment& value) { value.redGamma = 1.6; });
    const auto saved = world.midRed(1);
    ASSERT_TRUE(store->beginTemporaryNeutralComparison(1));
    ASSERT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));

    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(world.midRed(1), saved);
    EXPECT_NE(store->recoverySnapshot(1)->mode, QuorvaneEffectRecoveryMode::comparingStock);
}

TEST_F(MainWindowTest, ClickingADisplayRowSelectsItAndKeepsThePage) {
    start({externalDisplay(1, "Studio", 11), externalDisplay(2, "Side", 22, 1920)});
    window->state().selectSection(MainWindowSection::presets);
    window->sidebar()->displayRows()[1]->click();
    settle();
    EXPECT_EQ(store->selectedDisplayID(), 2u);
    EXPECT_EQ(world.savedPreferences().lastSelectedDisplayIdentity,
              testing::rawIdentity(store->displays()[1]));
    EXPECT_EQ(markedDisplayRow(), window->sidebar()->displayRows()[1]);
    EXPECT_EQ(window->state().selectedSection, MainWindowSection::presets);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Side"));
}

TEST_F(MainWindowTest, SelectionFollowsTheMonitorWhenItComesBackUnderANewID) {
    start({externalDisplay(1, "Studio", 11), externalDisplay(2, "Side", 22, 1920),
           externalDisplay(3, "Left", 33, 3840)});
    window->sidebar()->displayRows()[1]->click();
    settle();
    auto* untouched = window->sidebar()->displayRows()[0];

    // Unplugged and plugged again in one re-read: same monitor, new ID.
    auto replugged = externalDisplay(2, "Side", 22, 1920);
    replugged.id = 9;
    world.connect(
        {externalDisplay(1, "Studio", 11), replugged, externalDisplay(3, "Left", 33, 3840)});
    store->refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    settle();
    EXPECT_EQ(store->selectedDisplayID(), 9u);
    ASSERT_NE(markedDisplayRow(), nullptr);
    EXPECT_EQ(markedDisplayRow()->row().title, "Side");
    // The rows of displays that stayed are the same widgets.
    EXPECT_EQ(window->sidebar()->displayRows()[0], untouched);
}

TEST_F(MainWindowTest, SelectionComesBackWhenTheOnlyDisplayReturns) {
    start({externalDisplay(4, "Solo", 44)});
    window->state().selectSection(MainWindowSection::recovery);
    world.connect({});
    store->refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    settle();
    EXPECT_EQ(window->sidebar()->displayRows().size(), 0u);
    EXPECT_EQ(window->findChild<QStackedWidget*>()->currentWidget(), window->noDisplayState());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorvane"));

    world.connect({externalDisplay(4, "Solo", 44)});
    store->refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    settle();
    ASSERT_NE(markedDisplayRow(), nullptr);
    EXPECT_EQ(markedDisplayRow()->row().title, "Solo");
    EXPECT_EQ(window->findChild<QStackedWidget*>()->currentWidget(), window->detailForm());
    EXPECT_EQ(window->state().selectedSection, MainWindowSection::recovery);
}

TEST_F(MainWindowTest, CollapsingTheAdvancedGroupKeepsItsPageOnShow) {
    start({externalDisplay(1, "Studio", 11)});
    auto* disclosure = window->sidebar()->advancedDisclosure();
    disclosure->click();
    EXPECT_TRUE(window->state().showsAdvancedSections);
    window->sidebar()->sectionRow(MainWindowSection::resolution)->click();
    disclosure->click();
    EXPECT_FALSE(window->state().showsAdvancedSections);
    EXPECT_EQ(window->state().selectedSection, MainWindowSection::resolution);
    EXPECT_TRUE(window->sidebar()->sectionRow(MainWindowSection::resolution)->row().isSelected);

    // The form opens the group and a page of it in one step.
    window->state().openAdvancedSection(MainWindowSection::hardware);
    EXPECT_TRUE(disclosure->isChecked());
    EXPECT_TRUE(window->sidebar()->sectionRow(MainWindowSection::hardware)->row().isSelected);
}

TEST_F(MainWindowTest, NoDisplayStateRescansAndOpensTheSettings) {
    start({});
    window->show();
    settle();
    ASSERT_EQ(window->findChild<QStackedWidget*>()->currentWidget(), window->noDisplayState());

    world.connect({externalDisplay(5, "Late", 55)});
    window->noDisplayState()->rescanButton()->click();
    settle();
    EXPECT_EQ(window->findChild<QStackedWidget*>()->currentWidget(), window->detailForm());

    // The header's re-scan is the same one store call.
    world.connect({});
    window->utilityHeader()->rescanButton()->click();
    settle();
    EXPECT_EQ(window->findChild<QStackedWidget*>()->currentWidget(), window->noDisplayState());

    window->noDisplayState()->settingsButton()->click();
    window->utilityHeader()->settingsButton()->click();
    EXPECT_EQ(settingsOpened, 2);
}

// The showing control a screen reader finds under this name, or null.
QAccessibleInterface* heardControl(QWidget* window, const QString& name) {
    QAccessibleInterface* found = nullptr;
    testing::walkAccessibleTree(QAccessible::queryAccessibleInterface(window),
                                [&](QAccessibleInterface* a) {
                                    if (a->text(QAccessible::Name) == name && !a->state().invisible)
                                        found = a;
                                });
    return found;
}

TEST_F(MainWindowTest, WhereNoTrayOpensThePanelTheHeaderOffersItToKeysAndScreenReaders) {
    start({externalDisplay(1, "Studio", 11)});
    window->show();
    settle();
    const QString name = QStringLiteral("빠른 화면 조정 열기");
    EXPECT_FALSE(heardControl(window.get(), name));

    window->offerPanel(true);
    settle();
    QAccessibleInterface* heard = heardControl(window.get(), name);
    ASSERT_TRUE(heard);
    EXPECT_EQ(heard->role(), QAccessible::Button);
    // Qt's press action clicks the button a moment later, as a click looks.
    heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([this] { return panelOpened == 1; }));

    // Reached with Tab, pressed with Space.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* control = window->utilityHeader()->panelButton();
    for (int presses = 0; presses < 200 && !control->hasFocus(); ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(control->hasFocus());
    QTest::keyClick(control, Qt::Key_Space);
    EXPECT_EQ(panelOpened, 2);

    // A tray came: the control goes, and the focus stays beside it.
    window->offerPanel(false);
    settle();
    EXPECT_FALSE(heardControl(window.get(), name));
    EXPECT_TRUE(window->utilityHeader()->rescanButton()->hasFocus());
}

// A tray came while the panel's small window was active: back in the main
// window the focus is beside the control that went, and a late Space on the
// colour page (whose first control switches the correction) changes nothing.
TEST_F(MainWindowTest, APanelControlThatGoesWhileTheWindowIsInactiveLeavesItsFocusBesideIt) {
    start({externalDisplay(1, "Studio", 11)});
    window->offerPanel(true);
    window->state().selectSection(MainWindowSection::color);
    window->show();
    window->utilityHeader()->panelButton()->setFocus(Qt::TabFocusReason);
    QWidget small;
    small.show();
    small.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&small));

    window->offerPanel(false);
    small.hide();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->utilityHeader()->rescanButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(store->softwareColorCorrectionEnabled());
    EXPECT_EQ(settingsOpened + panelOpened, 0);
}

// Which pixels of `picture` a person sees as drawn: those that stand out
// from its background.
std::vector<bool> inkOf(const QImage& picture) {
    const QRgb background = testing::backgroundOf(picture, picture.rect());
    std::vector<bool> ink;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ink.push_back(testing::standsOut(picture.pixel(x, y), background, 60));
    return ink;
}

// `symbol` drawn `side` pixels square in the middle of a picture the size
// of `control`, over its background.
QImage drawnAmid(const QImage& control, std::string_view symbol, const QColor& color, int side) {
    QImage drawn(control.size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(testing::backgroundOf(control, control.rect()));
    QPainter painter(&drawn);
    paintSymbol(painter,
                QRectF((drawn.width() - side) / 2.0, (drawn.height() - side) / 2.0, side, side),
                symbol, color);
    return drawn;
}

// The control that opens the panel shows the panel's own glyph, the tray
// icon's picture, not the sliders of the advanced options beside it.
TEST_F(MainWindowTest, ThePanelsControlDrawsThePanelsGlyphNotTheAdvancedOptions) {
    start({externalDisplay(1, "Studio", 11)});
    window->offerPanel(true);
    window->show();
    settle();
    const QImage control = window->utilityHeader()->panelButton()->grab().toImage();
    const QColor ink = theme.color(ColorRole::primary);
    const auto shown = inkOf(control);
    const int side = symbolSide(15);
    EXPECT_EQ(shown, inkOf(drawnAmid(control, main_window_texts::kPanelSymbol, ink, side)));
    EXPECT_NE(shown, inkOf(drawnAmid(control, main_window_texts::kAdvancedGroupSymbol, ink, side)));
}

TEST_F(MainWindowTest, SidebarRowsAnnounceTheMark) {
    start({externalDisplay(1, "Studio", 11)});
    auto* color = window->sidebar()->sectionRow(MainWindowSection::color);
    auto* accessible = QAccessible::queryAccessibleInterface(color);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("화면 색감, 밝기·색온도"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QString());
    EXPECT_FALSE(accessible->state().selected);

    color->click();
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("선택됨"));
    EXPECT_TRUE(accessible->state().selected);
}

TEST_F(MainWindowTest, AScreenReaderPressesSidebarRowsToOpenTheirPages) {
    start({externalDisplay(1, "Studio", 11), externalDisplay(2, "Side", 22, 1920)});
    window->show();
    settle();
    const auto act = [](QWidget* row, const QString& action) {
        auto* accessible = QAccessible::queryAccessibleInterface(row);
        ASSERT_TRUE(accessible);
        ASSERT_TRUE(accessible->actionInterface());
        const QStringList actions = accessible->actionInterface()->actionNames();
        ASSERT_TRUE(actions.contains(action)) << actions.join(',').toStdString();
        accessible->actionInterface()->doAction(action);
        settle();
    };
    const auto press = [&act](QWidget* row) {
        act(row, QAccessibleActionInterface::pressAction());
    };
    // The group's disclosure is a toggle, as Qt reads every checkable button.
    act(window->sidebar()->advancedDisclosure(), QAccessibleActionInterface::toggleAction());
    ASSERT_TRUE(window->sidebar()->advancedDisclosure()->isChecked());
    for (const MainWindowSection section : kAllMainWindowSections) {
        SidebarRowButton* row = window->sidebar()->sectionRow(section);
        ASSERT_TRUE(row->isVisibleTo(window.get()));
        press(row);
        EXPECT_EQ(window->state().selectedSection, section);
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(row)->state().selected);
    }
    SidebarRowButton* side = window->sidebar()->displayRows().at(1);
    press(side);
    EXPECT_EQ(store->selectedDisplayID(), std::optional<DisplayID>(2));
    EXPECT_TRUE(side->row().isSelected);
}

TEST_F(MainWindowTest, OnEveryPageEachButtonCanBePressedAndEachSliderReadsItsRowsUnit) {
    start({externalDisplay(1, "Studio", 11)});
    window->resize(840, 620);
    window->show();
    settle();
    int sliders = 0;
    for (const MainWindowSection section : kAllMainWindowSections) {
        window->state().selectSection(section);
        settle();
        settle();
        EXPECT_EQ(testing::unpressableButtons(window.get()), std::vector<std::string>{})
            << caseName(section);
        EXPECT_EQ(testing::slidersNotReadInTheirUnit(window.get(), &sliders),
                  std::vector<std::string>{})
            << caseName(section);
    }
    EXPECT_GE(sliders, 11);  // the colour page's rows at least
}

TEST_F(MainWindowTest, AnAdvancedPageOpenedByTheFormScrollsItsRowIntoView) {
    std::vector<DisplaySnapshot> many;
    for (DisplayID id = 1; id <= 8; ++id)
        many.push_back(externalDisplay(id, "Monitor", 100 + id, 1920.0 * id));
    start(many);
    window->resize(840, 560);
    window->show();
    settle();
    window->state().openAdvancedSection(MainWindowSection::diagnostics);
    settle();
    auto* row = window->sidebar()->sectionRow(MainWindowSection::diagnostics);
    auto* viewport = window->sidebar()->viewport();
    const QRect shown(row->mapTo(viewport, QPoint(0, 0)), row->size());
    EXPECT_TRUE(viewport->rect().contains(shown)) << shown.y() << " in " << viewport->height();
}

TEST_F(MainWindowTest, WithTheAdvancedGroupOpenTheStartGuideStillSwitchesToTheMonitorPage) {
    start({externalDisplay(1, "Studio", 11)});
    window->show();
    settle();
    window->sidebar()->advancedDisclosure()->click();
    window->sidebar()->sectionRow(MainWindowSection::start)->click();
    settle();
    ASSERT_TRUE(window->state().showsAdvancedSections);

    auto* advanced = buttonTitled(QStringLiteral("모니터 자체 설정 보기"));
    ASSERT_NE(advanced, nullptr);
    advanced->click();
    settle();
    EXPECT_TRUE(showsMonitorPage());
    EXPECT_TRUE(window->sidebar()->advancedDisclosure()->isChecked());
}

TEST_F(MainWindowTest, TheDiagnosticsPagesWayToTheMonitorSettingsSwitchesToTheMonitorPage) {
    auto monitorLink = std::make_shared<testing::HeldDDCController>();
    start({externalDisplay(1, "Studio", 11)}, monitorLink);
    window->show();
    settle();
    // The diagnostics page lives in the advanced group, so the group is open
    // whenever its buttons are pressed.
    window->sidebar()->advancedDisclosure()->click();
    window->sidebar()->sectionRow(MainWindowSection::diagnostics)->click();
    store->probeDDC(1);
    monitorLink->answerProbe(1, {{DDCVCPCode::brightness, {40, 100}}});
    // The store's change, the bridge's notice and the queued showing of the
    // new summary's widgets each take a turn.
    for (int turn = 0; turn < 3; ++turn) {
        world.scheduler->runUntilIdle();
        settle();
    }

    auto* open = buttonTitled(QStringLiteral("직접 조정 열기"));
    ASSERT_NE(open, nullptr);
    open->click();
    settle();
    EXPECT_TRUE(showsMonitorPage());
}

// A long monitor name is shown whole: the display row's title is set in the
// window's base font and wraps onto a second line inside its row, drawn
// to its last word, never shrunk or cut with "…".
TEST_F(MainWindowTest, ALongDisplayNameWrapsWholeInTheBaseFont) {
    const QString name = QStringLiteral("Left Office Monitor DisplayPort");
    start({externalDisplay(1, name.toStdString(), 1001)});
    window->resize(840, 620);
    window->show();
    settle();
    settle();
    SidebarRowButton* row = window->sidebar()->displayRows().at(0);
    QLabel* title = nullptr;
    for (auto* label : row->findChildren<QLabel*>())
        if (label->text() == name)
            title = label;
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font().pointSizeF(), theme.baseFont().pointSizeF());
    const QFontMetrics metrics(theme.baseFont());
    ASSERT_GT(metrics.horizontalAdvance(name), title->width()) << "the name fits one line";
    const QImage picture = row->grab().toImage();
    const QRect ink = testing::inkBounds(picture, testing::boxIn(row, title));
    // Two lines of the base font, both inside the row.
    EXPECT_GT(ink.height(), metrics.height() * 3 / 2);
    EXPECT_TRUE(QRect(QPoint(0, 0), row->size()).contains(testing::boxIn(row, title)));
    EXPECT_GE(title->height(), title->heightForWidth(title->width()));
    // The row is heard by the whole name too.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(row)->text(QAccessible::Name).left(name.size()),
              name);
}

}  // namespace
}  // namespace quorvane
