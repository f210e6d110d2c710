#include "views/panel/menu_panel.hpp"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/shell/panel_host.hpp"
#include "models/display/display_identity.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/controls/recent_change_prompt_view.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/main_window/main_window.hpp"
#include "views/panel/panel_ddc_status_line.hpp"
#include "views/panel/panel_footer_view.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/panel_no_display_view.hpp"
#include "views/panel/panel_picker_chip.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/panel/panel_tile_section_view.hpp"
#include "views/panel/panel_world.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/check_box_contrast.hpp"
#include "views/support/layout_points_of.hpp"
#include "views/support/same_pixels.hpp"
#include "views/support/themed_window.hpp"

namespace quorvane {
namespace {

using testing::PanelWorld;

constexpr DisplayID kSecondID = 9;

class MenuPanelTest : public ::testing::Test {
  protected:
    MenuPanel& open(std::vector<DisplaySnapshot> displays) {
        world.connect(std::move(displays));
        world.start();
        bridge = std::make_unique<StoreBridge>(*world.store);
        shell.hidePanel = [this] { calls.push_back("hidePanel"); };
        shell.openMainWindow = [this] {
            calls.push_back("openMainWindow");
            if (!mainWindow)
                mainWindow = std::make_unique<MainWindow>(*context);
            mainWindow->show();
        };
        shell.openSettings = [this] { calls.push_back("openSettings"); };
        context = std::make_unique<ViewContext>(ViewContext{*world.store, *bridge, shell, theme});
        panel = std::make_unique<MenuPanel>(*context);
        panel->resize(390, 650);
        panel->show();
        settle();
        return *panel;
    }
    // Lets the store's background work and the bridge's notice through.
    void settle() {
        world.settle();
        QApplication::processEvents();
    }
    DisplayStore& store() { return *world.store; }
    ColorAdjustment saved(DisplayID id) {
        std::string identity;
        for (const auto& display : store().displays())
            if (display.id == id)
                identity = DisplayIdentity::of(display).rawValue;
        const auto record = UserDefaultsPreferencesStore(world.defaults).loadResult().preferences;
        const auto found = record.displayAdjustments.find(identity);
        return found == record.displayAdjustments.end() ? ColorAdjustment::neutral()
                                                        : found->second;
    }
    bool showsNeutral(DisplayID id) {
        const auto tables = world.gamma->tables(id);
        return !tables || *tables == world.gamma->makeTransferTables(ColorAdjustment::neutral());
    }
    bool shows(DisplayID id, const ColorAdjustment& adjustment) {
        return world.gamma->tables(id) == world.gamma->makeTransferTables(adjustment);
    }
    // The panel's hold-to-compare button on show, or null.
    HoldToCompareButton* compareButton() {
        HoldToCompareButton* shown = nullptr;
        for (auto* button : panel->findChildren<HoldToCompareButton*>()) {
            if (button->isVisibleTo(panel.get())) {
                EXPECT_EQ(shown, nullptr) << "two compare buttons on show";
                shown = button;
            }
        }
        return shown;
    }

    PanelWorld world;
    Theme theme{false};
    WindowThemeFollower follower{theme};
    ShellActions shell;
    std::vector<std::string> calls;
    std::unique_ptr<StoreBridge> bridge;
    std::unique_ptr<ViewContext> context;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<MenuPanel> panel;
};

TEST_F(MenuPanelTest, WithoutDisplaysTheHeaderIsGenericAndNoControlsOrRecoveryShow) {
    MenuPanel& menu = open({});
    EXPECT_EQ(menu.header()->titleLabel()->text(), "Quorvane");
    EXPECT_EQ(menu.header()->subtitleLabel()->text(), "빠른 화면 조정");
    EXPECT_FALSE(menu.header()->displayPicker()->isVisible());
    EXPECT_TRUE(menu.noDisplayState()->isVisible());
    EXPECT_FALSE(menu.quickControls()->isVisible());
}

TEST_F(MenuPanelTest, WithoutDisplaysOneStackIsCentredInItsBlockButtonsToo) {
    theme.setTextSize(QuorvaneTextSize::standard);
    MenuPanel& menu = open({});
    PanelNoDisplayView* state = menu.noDisplayState();
    EXPECT_EQ(state->height(), 220);
    ChipButton* rescan = state->rescanButton();
    ChipButton* why = state->explanationButton();
    const int middle = state->rect().center().x();
    const auto centreOf = [state](QWidget* widget) {
        return widget->mapTo(state, widget->rect().center());
    };
    // Whether side by side or under each other, the buttons are centred as
    // a group and the group is centred under the text.
    const bool stacked = why->mapTo(state, QPoint()).y() > rescan->mapTo(state, QPoint()).y();
    if (stacked) {
        EXPECT_LE(std::abs(centreOf(rescan).x() - middle), 1);
        EXPECT_LE(std::abs(centreOf(why).x() - middle), 1);
    } else {
        const int left = rescan->mapTo(state, QPoint()).x();
        const int right = why->mapTo(state, QPoint(why->width(), 0)).x();
        EXPECT_LE(std::abs(left - (state->width() - right)), 1);
    }
    // The block holds the stack in its middle: as much room above as below.
    QRect stack;
    for (QWidget* part : state->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        stack |= part->geometry();
    EXPECT_LE(std::abs(stack.top() - (state->height() - 1 - stack.bottom())), 1);

    // Narrower, the buttons stack and stay centred.
    panel->resize(240, 650);
    settle();
    EXPECT_GT(why->mapTo(state, QPoint()).y(), rescan->mapTo(state, QPoint()).y());
    EXPECT_LE(std::abs(centreOf(rescan).x() - state->rect().center().x()), 1);
    EXPECT_LE(std::abs(centreOf(why).x() - state->rect().center().x()), 1);
}

TEST_F(MenuPanelTest, OnABuiltInPanelTheDisabledMonitorCheckDoesNotLookLikeALink) {
    MenuPanel& menu = open({testing::panelBuiltinDisplay(PanelWorld::kBuiltinID)});
    QPushButton* probe = menu.quickTuneCard()->ddcStatusLine()->probeButton();
    ASSERT_TRUE(probe->isVisible());
    EXPECT_FALSE(probe->isEnabled());
    const QColor shown = probe->palette().color(QPalette::Disabled, QPalette::ButtonText);
    EXPECT_NE(shown, theme.color(ColorRole::accent));
    EXPECT_EQ(shown, theme.color(ColorRole::secondary, 0.7));
    EXPECT_NE(probe->cursor().shape(), Qt::PointingHandCursor);
    // A monitor that can be checked keeps the accent link.
    theme.setAppearance(QuorvaneAppearance::dark);
    EXPECT_EQ(probe->palette().color(QPalette::Active, QPalette::ButtonText),
              theme.color(ColorRole::accent));
    EXPECT_EQ(probe->palette().color(QPalette::Disabled, QPalette::ButtonText),
              theme.color(ColorRole::secondary, 0.7));
}

TEST_F(MenuPanelTest, TwoDisplaysOfferThePickerAndAPresetGoesToTheChosenDisplayOnly) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    ASSERT_TRUE(menu.header()->displayPicker()->isVisible());
    EXPECT_EQ(menu.header()->titleLabel()->text(), "DELL U2720Q");
    const auto actions = menu.header()->displayMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    actions[1]->trigger();
    settle();
    EXPECT_EQ(store().selectedDisplayID(), kSecondID);
    EXPECT_EQ(menu.header()->titleLabel()->text(), "LG 27UL850");
    EXPECT_TRUE(menu.header()->displayMenu()->actions()[1]->isChecked());

    const auto night = panelShownPresets({})[2];
    QTest::mouseClick(menu.presetGrid()->tiles()[2], Qt::LeftButton);
    EXPECT_EQ(store().colorAdjustment(kSecondID), night.adjustment);
    EXPECT_EQ(store().colorAdjustment(PanelWorld::kMonitorID), ColorAdjustment{});
}

// The column right of `from` where `image` first differs from `background`
// on any of the rows `top`..`bottom`, scanning in `step` (+1 or -1) up to
// `to`; `to` when nothing is drawn there.
int firstInk(const QImage& image, QRgb background, int from, int to, int step, int top,
             int bottom) {
    for (int x = from; x != to; x += step)
        for (int y = top; y <= bottom; ++y)
            if (image.pixel(x, y) != background)
                return x;
    return to;
}

// At its standard width the panel's header gives the display's name and
// what can be tuned the room the drawing and the menus leave, always at
// least 10 + 8 + 10 before the picker (or the options): the text wraps
// rather than coming closer, the subtitle keeps to three lines and the
// name breaks only between words. Measured on the drawn header.
TEST_F(MenuPanelTest, WithTwoDisplaysTheHeaderTextKeepsItsDistanceFromTheMenus) {
    theme.setTextSize(QuorvaneTextSize::standard);
    MenuPanel& menu = open({testing::panelBuiltinDisplay(PanelWorld::kBuiltinID),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    store().setSelectedDisplayID(PanelWorld::kBuiltinID);
    panel->resize(350, 580);
    settle();
    PanelHeaderView* header = menu.header();
    WrappingLabel* title = header->titleLabel();
    WrappingLabel* subtitle = header->subtitleLabel();
    QWidget* picker = header->displayPicker();
    QWidget* options = header->findChild<QToolButton*>();
    ASSERT_TRUE(picker->isVisible());
    EXPECT_EQ(title->text(), "Built-in Display");
    EXPECT_EQ(title->x(), 6 + 36 + 10);
    EXPECT_EQ(options->x() - (picker->x() + picker->width()), 10);
    EXPECT_EQ(header->width() - (options->x() + options->width()), 6);
    EXPECT_LE(options->width(), 18 + 4);
    // Heights in lines, a line being the label's height unwrapped.
    const auto lines = [](WrappingLabel* label) {
        return static_cast<double>(label->height()) / label->heightForWidth(10000);
    };
    EXPECT_LE(lines(title), 2.0);
    EXPECT_GT(lines(subtitle), 1.0);
    EXPECT_LE(lines(subtitle), 3.0);

    // Where the text's ink ends and the next control's begins.
    const auto gapBefore = [&](QWidget* control) {
        const QImage drawn = header->grab().toImage();
        const int scale = static_cast<int>(drawn.devicePixelRatio());
        const QRgb background = drawn.pixel(title->x() * scale, 2 * scale);
        const int textInk =
            firstInk(drawn, background, control->x() * scale - 1, title->x() * scale, -1,
                     title->y() * scale, (subtitle->geometry().bottom() + 1) * scale - 1);
        const int middle = (control->y() + control->height() / 2) * scale;
        const int controlInk = firstInk(drawn, background, (control->x() - 4) * scale,
                                        drawn.width(), 1, middle - scale, middle + scale);
        return (controlInk - textInk - 1) / scale;
    };
    // The subtitle wraps: its column stops exactly 28 short of the picker.
    EXPECT_EQ(picker->x() - (subtitle->x() + subtitle->width()), 28);
    EXPECT_GE(gapBefore(picker), 28);

    // With one display the options take the picker's place.
    store().setSelectedDisplayID(kSecondID);
    world.displayManager->setDisplays({testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    settle();
    settle();
    ASSERT_FALSE(picker->isVisible());
    EXPECT_GE(options->x() - (subtitle->x() + subtitle->width()), 28);
    EXPECT_GE(gapBefore(options), 28);
}

TEST_F(MenuPanelTest, ItsMenusAndItsConfirmationTakeTheThemeAndFollowItWhileOpen) {
    theme.setAppearance(QuorvaneAppearance::dark);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    testing::expectThemed(&menu, theme);

    QTest::mouseClick(menu.header()->displayPicker(), Qt::LeftButton);
    QMenu* picker = menu.header()->displayMenu();
    ASSERT_TRUE(picker->isVisible());
    testing::expectThemed(picker, theme);
    picker->hide();
    QToolButton* options = nullptr;
    for (auto* button : menu.header()->findChildren<QToolButton*>()) {
        if (button->accessibleName() == QStringLiteral("메뉴 옵션"))
            options = button;
    }
    ASSERT_NE(options, nullptr);
    QTest::mouseClick(options, Qt::LeftButton);
    QMenu* sizes = menu.header()->optionsMenu();
    ASSERT_TRUE(sizes->isVisible());
    testing::expectThemed(sizes, theme);

    // A text size chosen from that menu reaches it while it is still open.
    theme.setTextSize(QuorvaneTextSize::standard);
    testing::expectThemed(sizes, theme);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(sizes->font()), 14);
    sizes->hide();

    menu.recoveryCard()->recoverButton()->click();
    settle();
    QMessageBox* confirmation = menu.confirmations()->dialog();
    testing::expectThemed(confirmation, theme);
    EXPECT_LT(confirmation->palette().color(QPalette::Window).lightness(), 100);
    theme.setAppearance(QuorvaneAppearance::light);
    testing::expectThemed(confirmation, theme);
    menu.confirmations()->cancelButton()->click();
}

// The windows a screen reader finds under the application.
std::vector<QObject*> reachableWindows() {
    std::vector<QObject*> windows;
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    for (int index = 0; application && index < application->childCount(); ++index) {
        QAccessibleInterface* window = application->child(index);
        if (window && window->object()) {
            EXPECT_EQ(application->indexOfChild(window), index);
            windows.push_back(window->object());
        }
    }
    return windows;
}

bool reaches(QObject* window) {
    const auto windows = reachableWindows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

TEST_F(MenuPanelTest, WhileThePopupIsOpenAScreenReaderReachesItsControlsMenusAndConfirmation) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    menu.hide();
    auto* host = new PanelHost;
    host->layout()->addWidget(&menu);
    menu.show();
    ASSERT_TRUE(host->isPopupForm());
    EXPECT_FALSE(reaches(host));  // closed: nothing to find

    host->resize(390, 650);
    host->show();
    settle();
    ASSERT_TRUE(reaches(host));
    // It reads as a window of its own, named as the panel.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(host);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("빠른 화면 조정"));
    int sliders = 0;
    EXPECT_EQ(testing::slidersNotReadInTheirUnit(host, &sliders), std::vector<std::string>{});
    EXPECT_GE(sliders, 2);
    EXPECT_EQ(testing::unpressableButtons(host), std::vector<std::string>{});

    // A menu opened from it is found too, while it is open.
    QTest::mouseClick(menu.header()->displayPicker(), Qt::LeftButton);
    QMenu* picker = menu.header()->displayMenu();
    ASSERT_TRUE(picker->isVisible());
    EXPECT_TRUE(reaches(picker));
    picker->hide();
    EXPECT_FALSE(reaches(picker));

    menu.recoveryCard()->recoverButton()->click();
    settle();
    QMessageBox* confirmation = menu.confirmations()->dialog();
    ASSERT_NE(confirmation, nullptr);
    EXPECT_TRUE(reaches(confirmation));
    EXPECT_EQ(testing::unpressableButtons(confirmation), std::vector<std::string>{});
    menu.confirmations()->cancelButton()->click();
    settle();

    host->hide();
    EXPECT_FALSE(reaches(host));
    menu.setParent(nullptr);
    delete host;
}

TEST_F(MenuPanelTest, ANameWithAnAmpersandShowsVerbatimInThePickerAndMakesNoShortcut) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    store().setDisplayAlias("R&D 모니터", kSecondID);
    settle();
    const auto actions = menu.header()->displayMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    // Qt shows "&&" as one "&"; a single "&" would vanish and make Alt+D.
    EXPECT_EQ(actions[1]->text(), QStringLiteral("R&&D 모니터"));
    EXPECT_TRUE(QKeySequence::mnemonic(actions[1]->text()).isEmpty());
    EXPECT_EQ(actions[1]->iconText(), QStringLiteral("R&D 모니터"));
    for (QAbstractButton* tile : menu.sceneStrip()->tiles())
        EXPECT_TRUE(tile->shortcut().isEmpty());
}

TEST_F(MenuPanelTest, RestyledInPlaceThePanelReadsAsOneBuiltInTheNewTheme) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    theme.setAppearance(QuorvaneAppearance::dark);
    settle();
    MenuPanel fresh(*context);
    fresh.resize(menu.size());
    fresh.show();
    settle();
    testing::expectSamePixels(menu, fresh, "panel");
}

// With correction off, its switch's edge stands out from the card at 3 : 1
// or more in either scheme.
TEST_F(MenuPanelTest, TheUncheckedCorrectionSwitchShowsItsEdgeInBothSchemes) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    store().setSoftwareColorCorrectionEnabled(false);
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        theme.setAppearance(appearance);
        settle();
        const auto weakest = testing::weakestUncheckedBoxContrast(menu);
        ASSERT_TRUE(weakest.has_value());
        EXPECT_GE(*weakest, 3.0);
    }
}

TEST_F(MenuPanelTest, ChoosingTheCurrentTextSizeAgainReachesTheStoreAndKeepsItsTick) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    store().setStatusMessage("준비됨");
    const auto actions = menu.header()->optionsMenu()->actions();
    ASSERT_EQ(actions.size(), 6);  // re-scan, divider, four sizes
    QAction* large = actions[3];
    ASSERT_TRUE(large->isChecked());
    large->trigger();
    settle();
    EXPECT_EQ(store().statusMessage(), "글자 크기: 크게");
    EXPECT_TRUE(menu.header()->optionsMenu()->actions()[3]->isChecked());

    menu.header()->optionsMenu()->actions()[5]->trigger();
    settle();
    EXPECT_EQ(store().textSize(), QuorvaneTextSize::veryLarge);
    EXPECT_FALSE(menu.header()->optionsMenu()->actions()[3]->isChecked());
    EXPECT_TRUE(menu.header()->optionsMenu()->actions()[5]->isChecked());
}

TEST_F(MenuPanelTest, AWorkModeTileAppliesToEveryDisplay) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    const auto scene = panelShownScenes({})[1];
    QTest::mouseClick(menu.sceneStrip()->tiles()[1], Qt::LeftButton);
    settle();
    const bool changedBoth = store().colorAdjustment(kSecondID) != ColorAdjustment{} &&
                             store().colorAdjustment(PanelWorld::kMonitorID) != ColorAdjustment{};
    EXPECT_TRUE(changedBoth) << store().statusMessage();
}

TEST_F(MenuPanelTest, OpeningTheMainWindowHidesThePanelFirstAndActivatesOnTheNextTurn) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    QTest::mouseClick(menu.footer()->openMainWindowButton(), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"hidePanel", "openMainWindow"}));
    QApplication::processEvents();
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(mainWindow.get(), 1000));

    calls.clear();
    QTest::mouseClick(menu.footer()->settingsButton(), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"hidePanel", "openSettings"}));
}

TEST_F(MenuPanelTest, ShowingThePanelRereadsTheDisplays) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    menu.hide();
    world.connect({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                   testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    EXPECT_EQ(store().displays().size(), 1u);
    menu.show();
    settle();
    EXPECT_EQ(store().displays().size(), 2u);
    EXPECT_TRUE(menu.header()->displayPicker()->isVisible());
}

TEST_F(MenuPanelTest, LosingFocusEndsAHeldComparison) {
    open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    store().updateColorAdjustment(PanelWorld::kMonitorID, &ColorAdjustment::warmth, 0.5);
    const auto token = store().beginTemporaryNeutralComparison(PanelWorld::kMonitorID);
    ASSERT_TRUE(token);
    ASSERT_EQ(store().recoverySnapshot(PanelWorld::kMonitorID)->mode,
              QuorvaneEffectRecoveryMode::comparingStock);
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(store().recoverySnapshot(PanelWorld::kMonitorID)->mode,
              QuorvaneEffectRecoveryMode::active);
}

TEST_F(MenuPanelTest, RecoveryAsksOnceAndRunsOnlyWhenConfirmed) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    store().updateColorAdjustment(PanelWorld::kMonitorID, &ColorAdjustment::warmth, 0.5);
    const auto journalBefore = store().recoveryJournal().entries.size();
    ChipButton* recover = menu.recoveryCard()->recoverButton();

    QTest::mouseClick(recover, Qt::LeftButton);
    QMessageBox* first = menu.confirmations()->dialog();
    ASSERT_NE(first, nullptr);
    QTest::mouseClick(recover, Qt::LeftButton);  // a second press changes nothing
    EXPECT_EQ(menu.confirmations()->dialog(), first);
    menu.confirmations()->cancelButton()->click();
    settle();
    EXPECT_EQ(store().colorAdjustment(PanelWorld::kMonitorID).warmth, 0.5);
    EXPECT_EQ(store().recoveryJournal().entries.size(), journalBefore);

    QTest::mouseClick(recover, Qt::LeftButton);
    ASSERT_NE(menu.confirmations()->dialog(), nullptr);
    EXPECT_EQ(menu.confirmations()->dialog()->text(), "모든 화면에 비상 복구를 실행할까요?");
    menu.confirmations()->confirmButton()->click();
    settle();
    EXPECT_EQ(store().colorAdjustment(PanelWorld::kMonitorID), ColorAdjustment::neutral());
    EXPECT_EQ(store().recoveryJournal().entries.size(), journalBefore + 1);
}

TEST_F(MenuPanelTest, TheRecoveryTooltipNamesTheEmergencyKey) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q")});
    EXPECT_TRUE(menu.recoveryCard()->recoverButton()->toolTip().endsWith("단축키: Super+Shift+L"));
}

TEST_F(MenuPanelTest, UndoRightAfterAPresetTileBringsBackTheColourBeforeIt) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    store().updateColorAdjustment(PanelWorld::kMonitorID, [](ColorAdjustment& value) {
        value.warmth = -0.4;
        value.contrast = 1.2;
    });
    const auto before = store().colorAdjustment(PanelWorld::kMonitorID);
    settle();

    const auto night = panelShownPresets({})[2];
    QTest::mouseClick(menu.presetGrid()->tiles()[2], Qt::LeftButton);
    settle();
    ASSERT_EQ(store().colorAdjustment(PanelWorld::kMonitorID), night.adjustment);
    ASSERT_TRUE(shows(PanelWorld::kMonitorID, night.adjustment));

    auto* prompt = menu.findChild<RecentChangePromptView*>();
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(prompt->isVisibleTo(&menu));
    QTest::mouseClick(prompt->undoButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(store().colorAdjustment(PanelWorld::kMonitorID), before);
    EXPECT_TRUE(shows(PanelWorld::kMonitorID, before));
    EXPECT_EQ(saved(PanelWorld::kMonitorID), before);
    EXPECT_FALSE(prompt->isVisibleTo(&menu));
    EXPECT_TRUE(showsNeutral(kSecondID));
}

TEST_F(MenuPanelTest, HoldToCompareActsOnlyOnTheDisplayPickedLast) {
    MenuPanel& menu = open({testing::panelExternalDisplay(PanelWorld::kMonitorID, "DELL U2720Q"),
                            testing::panelExternalDisplay(kSecondID, "LG 27UL850")});
    store().updateColorAdjustment(PanelWorld::kMonitorID, &ColorAdjustment::warmth, 0.5);
    store().updateColorAdjustment(kSecondID, &ColorAdjustment::warmth, -0.5);
    const auto first = store().colorAdjustment(PanelWorld::kMonitorID);
    const auto second = store().colorAdjustment(kSecondID);
    settle();
    ASSERT_NE(compareButton(), nullptr);

    menu.header()->displayMenu()->actions()[1]->trigger();
    // New widgets are shown a turn after they are added.
    settle();
    settle();
    ASSERT_EQ(store().selectedDisplayID(), kSecondID);
    HoldToCompareButton* compare = compareButton();
    ASSERT_NE(compare, nullptr);

    QTest::mousePress(compare, Qt::LeftButton);
    EXPECT_EQ(store().recoverySnapshot(kSecondID)->mode,
              QuorvaneEffectRecoveryMode::comparingStock);
    EXPECT_TRUE(showsNeutral(kSecondID));
    EXPECT_EQ(store().recoverySnapshot(PanelWorld::kMonitorID)->mode,
              QuorvaneEffectRecoveryMode::active);
    EXPECT_TRUE(shows(PanelWorld::kMonitorID, first));

    QTest::mouseRelease(compare, Qt::LeftButton);
    EXPECT_EQ(store().recoverySnapshot(kSecondID)->mode, QuorvaneEffectRecoveryMode::active);
    EXPECT_TRUE(shows(kSecondID, second));
    EXPECT_TRUE(shows(PanelWorld::kMonitorID, first));
    // Comparing saves nothing.
    EXPECT_EQ(saved(kSecondID), second);
}

}  // namespace
}  // namespace quorvane
