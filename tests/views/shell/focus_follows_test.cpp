// Where the focus lands, read as a screen reader finds it: inside what the
// window shows after Tab moves it into a scrolled area and when the panel
// opens again; on the page a step card opens, pressed with Space, Return or
// Enter; back on "전체 복구" once its confirmation is answered; on the
// switch the user just flipped, the page where it was; on a deleted row's
// neighbour; on a collection page after a save by Space or Return, in the
// name field and then on the new entry's row, the page where it was; beside
// a step button that greys at the end of its range, the page staying where
// it was; back on a check's button once the check ends; on the control a
// change came from when the undo prompt goes; on a new page before the old
// one hides. At the largest text size a name field Tab reaches shows whole.
// A menu item pressed through assistive technology closes its menu as the
// keyboard does.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

#include "app/shell/panel_host.hpp"
#include "display_store/store_world.hpp"
#include "presentation/main_window/main_window_section.hpp"
#include "views/access/disabled_focus_hand_over.hpp"
#include "views/access/reading_order.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/controls/recent_change_prompt_view.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/main_window/main_utility_header.hpp"
#include "views/main_window/main_window.hpp"
#include "views/main_window/main_window_sidebar.hpp"
#include "views/main_window/sidebar_row_button.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_ddc_status_line.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_recovery_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/panel/panel_tile_section_view.hpp"
#include "views/qt_text.hpp"
#include "views/settings/settings_disclosure_section.hpp"
#include "views/settings/settings_shortcuts_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_event_hook.hpp"
#include "views/support/accessible_tree.hpp"
#include "views/support/contrast_ratio.hpp"
#include "views/support/heard_focus.hpp"
#include "views/support/live_accessibility.hpp"
#include "views/support/same_pixels.hpp"
#include "views/support/spoken_notices.hpp"
#include "views/support/window_world.hpp"

namespace quorvane::testing {
namespace {

void scrollToEnd(QScrollArea* scroll) {
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
}

// Disables the control a screen reader names `name` as it shows, so a page
// opens with it disabled.
class DisabledWhenShown : public QObject {
  public:
    explicit DisabledWhenShown(std::string name) : name_(std::move(name)) {
        qApp->installEventFilter(this);
    }
    ~DisabledWhenShown() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->focusPolicy() & Qt::TabFocus && heardText(widget) == name_) {
                widget->setEnabled(false);
                disabled = widget;
            }
        }
        return false;
    }

    QPointer<QWidget> disabled;

  private:
    std::string name_;
};

class FocusFollowsTest : public WindowWorldTest {
  protected:
    // The panel in its host, `height` high (below about 600 its content
    // scrolls).
    MenuPanel* placePanel(PanelHost& host, int height) {
        auto* panel = new MenuPanel(*context, &host);
        host.layout()->addWidget(panel);
        host.resize(390, height);
        return panel;
    }
    // The scroll area of the main window's page.
    static QScrollArea* pageScroll(MainWindow& window) {
        return window.detailForm()->page()->findChild<QScrollArea*>();
    }
    // The control of the page a screen reader names `name`.
    static QWidget* heardOnPage(MainWindow& window, const std::string& name) {
        for (auto* widget : window.detailForm()->page()->findChildren<QWidget*>())
            if (widget->isVisible() && widget->focusPolicy() != Qt::NoFocus &&
                heardText(widget) == name)
                return widget;
        return nullptr;
    }
    // The widget of the page's text a screen reader reads as `text`.
    static QWidget* heardTextOnPage(MainWindow& window, const QString& text) {
        QWidget* found = nullptr;
        walkAccessibleTree(QAccessible::queryAccessibleInterface(window.detailForm()->page()),
                           [&](QAccessibleInterface* heard) {
                               if (!found && heard->role() == QAccessible::StaticText &&
                                   heard->text(QAccessible::Name) == text)
                                   found = qobject_cast<QWidget*>(heard->object());
                           });
        return found;
    }
};

// The collection pages, with their name field and save button.
struct NamePage {
    MainWindowSection section;
    const char* field;
    const char* save;
};
const NamePage kNamePages[] = {
    {MainWindowSection::presets, "새 프리셋 이름", "현재값 저장"},
    {MainWindowSection::scenes, "새 작업 모드 이름", "현재 화면 세트 저장"},
    {MainWindowSection::groups, "새 묶음 이름", "현재 연결 세트 저장"},
};

TEST_F(FocusFollowsTest, TabFromTheToolbarIntoAScrolledPageShowsTheControlItReaches) {
    MainWindow window(*context);
    window.resize(900, 560);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    QScrollArea* scroll = pageScroll(window);
    ASSERT_NE(scroll, nullptr);
    scrollToEnd(scroll);
    ASSERT_GT(scroll->verticalScrollBar()->value(), 0);
    QWidget* settings = window.utilityHeader()->findChildren<HeaderIconButton*>().back();
    settings->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(settings, Qt::Key_Tab);
    settle();
    EXPECT_EQ(heardText(QApplication::focusWidget()), "화면 색감 보정");
    EXPECT_TRUE(focusInSight());
}

TEST_F(FocusFollowsTest, TabWrappingBackToAScrolledSidebarShowsTheDisplayRow) {
    MainWindow window(*context);
    window.resize(900, 560);
    window.state().setShowsAdvancedSections(true);
    open(&window);
    scrollToEnd(window.sidebar());
    ASSERT_GT(window.sidebar()->verticalScrollBar()->value(), 0);
    // Shift+Tab from the toolbar's first control goes back into the
    // sidebar's last row, Tab from the page's last control round to its
    // first.
    QWidget* first = window.sidebar()->displayRows().front();
    QWidget* last = first->previousInFocusChain();
    while (!(last->focusPolicy() & Qt::TabFocus) || !last->isVisible())
        last = last->previousInFocusChain();
    last->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(last, Qt::Key_Tab);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_TRUE(focusInSight());
}

TEST_F(FocusFollowsTest, ThePanelOpensAgainAtItsTopOnItsFirstControl) {
    PanelHost host;
    auto* panel = placePanel(host, 380);  // shorter than its content: it scrolls
    open(&host);
    QWidget* first = QApplication::focusWidget();
    ASSERT_TRUE(focusInSight());
    // The user tabs on to the end, and closes the panel there.
    for (int stop = 0; stop < 40; ++stop) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        settle();
        EXPECT_TRUE(focusInSight()) << heardName(QApplication::focusWidget());
        if (panel->recoveryCard()->recoverButton()->hasFocus())
            break;
    }
    ASSERT_TRUE(panel->recoveryCard()->recoverButton()->hasFocus());
    auto* scroll = panel->findChild<QScrollArea*>();
    ASSERT_GT(scroll->verticalScrollBar()->value(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_FALSE(host.isVisible());

    open(&host);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(focusInSight());
}

// At the largest text size the panel's first control sits lower than the
// margin a scroll area keeps around a focused control, so showing that
// control alone would leave the title above the view: it opens again at its
// top on that control all the same. With that control disabled it starts on
// the first one that takes the focus, never where the last opening left it.
TEST_F(FocusFollowsTest, ThePanelOpensAgainAtItsTopOnItsFirstEnabledControlAtTheLargestTextSize) {
    world.store->setTextSize(QuorvaneTextSize::veryLarge);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    PanelHost host;
    auto* panel = placePanel(host, 380);
    open(&host);
    QWidget* first = QApplication::focusWidget();
    ASSERT_NE(first, nullptr);
    QTest::keyClick(first, Qt::Key_Tab);
    QWidget* second = QApplication::focusWidget();
    ASSERT_NE(second, first);
    auto* scroll = panel->findChild<QScrollArea*>();
    // QScrollArea::ensureWidgetVisible()'s margin.
    constexpr int kVisibleMargin = 50;
    ASSERT_GT(first->mapTo(scroll->widget(), QPoint(0, 0)).y(), kVisibleMargin);
    const auto reopenFromTheEnd = [&] {
        panel->recoveryCard()->recoverButton()->setFocus(Qt::TabFocusReason);
        settle();
        ASSERT_GT(scroll->verticalScrollBar()->value(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_FALSE(host.isVisible());
        open(&host);
    };

    reopenFromTheEnd();
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(scroll->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(seenArea(panel->header()).contains(heardRect(panel->header())));

    first->setEnabled(false);
    reopenFromTheEnd();
    EXPECT_EQ(QApplication::focusWidget(), second) << heardName(QApplication::focusWidget());
    EXPECT_TRUE(focusInSight());
}

// A step card opens its page and takes the focus to its first control,
// pressed with Space, Return or Enter; a sidebar row keeps it. A page whose
// first control shows disabled gets the focus on its first enabled one,
// never leaves it on the card that goes with the old page.
TEST_F(FocusFollowsTest, AStepCardTakesTheFocusToThePageItOpens) {
    MainWindow window(*context);
    window.resize(1000, 700);
    open(&window);
    const auto pressStepCard = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QAbstractButton* step = nullptr;
        for (auto* button : window.detailForm()->page()->findChildren<QAbstractButton*>())
            if (heardText(button) == "1단계, 화면 색감 맞추기")
                step = button;
        ASSERT_NE(step, nullptr);
        step->setFocus(Qt::TabFocusReason);
        QTest::keyClick(step, key, modifiers);
        settle();
        ASSERT_EQ(window.state().selectedSection, MainWindowSection::color);
    };
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Space, Qt::NoModifier}, std::pair{Qt::Key_Return, Qt::NoModifier},
          std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
        SCOPED_TRACE(key);
        pressStepCard(key, modifiers);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(window.detailForm()->page()->isAncestorOf(focused)) << heardName(focused);
        EXPECT_EQ(heardText(focused), "화면 색감 보정");
        EXPECT_TRUE(focusInSight());

        SidebarRowButton* row = window.sidebar()->sectionRow(MainWindowSection::start);
        row->setFocus(Qt::TabFocusReason);
        QTest::keyClick(row, key, modifiers);
        settle();
        ASSERT_EQ(window.state().selectedSection, MainWindowSection::start);
        EXPECT_EQ(QApplication::focusWidget(), row);
    }

    DisabledWhenShown disabledFirst("화면 색감 보정");
    pressStepCard(Qt::Key_Space, Qt::NoModifier);
    ASSERT_TRUE(disabledFirst.disabled);
    std::vector<QWidget*> shown;
    for (QWidget* stop : tabStopsInReadingOrder(window.detailForm()->page()))
        if (stop->isVisible())
            shown.push_back(stop);
    ASSERT_FALSE(shown.empty());
    ASSERT_EQ(shown.front(), disabledFirst.disabled.data());
    const auto enabled =
        std::find_if(shown.begin(), shown.end(), [](QWidget* stop) { return stop->isEnabled(); });
    ASSERT_NE(enabled, shown.end());
    EXPECT_EQ(QApplication::focusWidget(), *enabled) << heardName(QApplication::focusWidget());
    EXPECT_TRUE(focusInSight());
}

// A binding's switch, flipped with Space or the pointer, stays the same
// switch with the focus, and the page stays where it was: the next Space
// flips it back, never a button of another card.
TEST_F(FocusFollowsTest, AShortcutSwitchKeepsTheFocusAndThePageWhereTheyWere) {
    world.store->setSceneHotKeysEnabled(true);
    SettingsWindow window(*context);
    window.resize(700, 600);
    open(&window);
    SettingsShortcutsCard* card = window.shortcutsCard();
    ASSERT_NE(card->bindingList(), nullptr);
    card->bindingList()->setExpanded(true);
    settle();
    ASSERT_GE(card->bindingSwitches().size(), 2u);
    QPointer<QCheckBox> toggle = card->bindingSwitches()[1];
    toggle->setFocus(Qt::TabFocusReason);
    settle();
    ASSERT_TRUE(focusInSight());
    auto* scroll = window.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    const int page = scroll->verticalScrollBar()->value();
    const auto enabled = [this] { return world.store->sceneHotKeyBindings()[1].enabled; };
    const bool before = enabled();

    // Space, Space again, then the pointer: each flips the binding.
    bool expected = before;
    for (const bool pointer : {false, false, true}) {
        if (pointer)
            QTest::mouseClick(toggle, Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        settle();
        expected = !expected;
        EXPECT_EQ(enabled(), expected);
        ASSERT_TRUE(toggle);
        EXPECT_EQ(QApplication::focusWidget(), toggle.data())
            << heardName(QApplication::focusWidget());
        EXPECT_EQ(scroll->verticalScrollBar()->value(), page);
    }
}

// A card whose action turns into its opposite once pressed (pausing the
// effect offers to resume it) stays the same button with the focus, so the
// next press undoes the first.
TEST_F(FocusFollowsTest, ARecoveryCardKeepsTheFocusAsItsActionTurns) {
    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().setShowsAdvancedSections(true);
    window.state().selectSection(MainWindowSection::recovery);
    open(&window);
    QPointer<QAbstractButton> card;
    for (auto* button : window.detailForm()->page()->findChildren<ChipButton*>())
        if (button->text() == QStringLiteral("이 화면 효과 잠시 끄기"))
            card = button;
    ASSERT_TRUE(card);
    card->setFocus(Qt::TabFocusReason);
    settle();
    QScrollArea* scroll = pageScroll(window);
    ASSERT_NE(scroll, nullptr);
    const int page = scroll->verticalScrollBar()->value();

    QTest::keyClick(card, Qt::Key_Space);
    settle();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->text(), QStringLiteral("저장된 효과 다시 켜기"));
    EXPECT_EQ(QApplication::focusWidget(), card.data()) << heardName(QApplication::focusWidget());
    EXPECT_EQ(scroll->verticalScrollBar()->value(), page);

    QTest::keyClick(card, Qt::Key_Return);
    settle();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->text(), QStringLiteral("이 화면 효과 잠시 끄기"));
    EXPECT_EQ(QApplication::focusWidget(), card.data());
}

// A row that goes (its preset deleted) hands the focus to the row after it,
// or before it at the end of the list, on the same page.
TEST_F(FocusFollowsTest, ADeletedRowHandsTheFocusToItsNeighbour) {
    for (const char* name : {"아침", "저녁", "밤"})
        world.store->saveCustomPreset(name, 1);
    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().selectSection(MainWindowSection::presets);
    open(&window);
    const auto applyOf = [&](const char* name) -> QPushButton* {
        for (auto* button : window.detailForm()->page()->findChildren<QPushButton*>())
            if (button->isVisible() && heardText(button) == "적용" &&
                button->accessibleDescription() == QString::fromUtf8(name))
                return button;
        return nullptr;
    };
    const auto presetNamed = [this](const char* name) {
        for (const auto& preset : world.store->customPresets())
            if (preset.name == name)
                return preset;
        return DisplayPreset{};
    };
    QPointer<QPushButton> evening = applyOf("저녁");
    ASSERT_NE(evening, nullptr);
    evening->setFocus(Qt::TabFocusReason);
    QPushButton* night = applyOf("밤");
    world.store->deleteCustomPreset(presetNamed("저녁"));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), night) << heardName(QApplication::focusWidget());

    QPushButton* morning = applyOf("아침");
    world.store->deleteCustomPreset(presetNamed("밤"));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), morning) << heardName(QApplication::focusWidget());
    EXPECT_TRUE(focusInSight());
}

// A save by Space on the button or Return in the field keeps the focus on
// the page: in the field as the button greys, then on the new entry's row
// as it shows, the page where it was. Return in an empty field saves
// nothing.
TEST_F(FocusFollowsTest, SavingANewEntryKeepsTheFocusOnItsPageAndGoesOnToTheNewRow) {
    // With a group listed, the groups page's empty-list notice is gone.
    world.store->saveDisplayGroup("Desk");
    for (const auto& namePage : kNamePages) {
        for (const bool byReturn : {false, true}) {
            SCOPED_TRACE(std::string(namePage.field) + (byReturn ? " Return" : " Space"));
            MainWindow window(*context);
            window.resize(1000, 560);
            window.state().setShowsAdvancedSections(true);
            window.state().selectSection(namePage.section);
            open(&window);
            QWidget* page = window.detailForm()->page();
            QScrollArea* scroll = pageScroll(window);
            scrollToEnd(scroll);
            auto* field = qobject_cast<QLineEdit*>(heardOnPage(window, namePage.field));
            QWidget* save = heardOnPage(window, namePage.save);
            ASSERT_TRUE(field && save);
            field->setFocus(Qt::TabFocusReason);
            const auto stops = tabStopsInReadingOrder(page).size();
            QTest::keyClick(field, Qt::Key_Return);
            settle();
            EXPECT_EQ(tabStopsInReadingOrder(page).size(), stops);
            EXPECT_EQ(QApplication::focusWidget(), field);

            const QString name =
                byReturn ? QStringLiteral("By Return") : QStringLiteral("By Space");
            QTest::keyClicks(field, name);
            const int shown = scroll->verticalScrollBar()->value();
            if (byReturn) {
                QTest::keyClick(field, Qt::Key_Return);
            } else {
                QTest::keyClick(field, Qt::Key_Tab);
                ASSERT_EQ(QApplication::focusWidget(), save);
                QTest::keyClick(save, Qt::Key_Space);
            }
            EXPECT_EQ(QApplication::focusWidget(), field) << heardName(QApplication::focusWidget());
            settle();
            // The focus as heard stands in the new entry's row, in sight.
            QWidget* focused = QApplication::focusWidget();
            QWidget* row = heardTextOnPage(window, name);
            ASSERT_TRUE(row && focused);
            while (row && !row->isAncestorOf(focused))
                row = row->parentWidget();
            ASSERT_NE(row, nullptr);
            EXPECT_FALSE(row->isAncestorOf(field)) << heardName(focused);
            EXPECT_TRUE(QAccessible::queryAccessibleInterface(focused)->state().focused);
            EXPECT_TRUE(focusInSight()) << heardName(focused);
            EXPECT_EQ(scroll->verticalScrollBar()->value(), shown);
        }
    }
}

// A step button pressed to the end of its range greys; the focus stays in
// its row, on the slider after it (not the row above, before it in reading
// order), never going on to another part of the window.
TEST_F(FocusFollowsTest, AStepButtonAtTheEndOfItsRangeHandsTheFocusToItsRowsSlider) {
    MainWindow window(*context);
    window.resize(1000, 560);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    QWidget* down = heardOnPage(window, "색온도 100K 낮추기");
    ASSERT_NE(down, nullptr);
    down->setFocus(Qt::TabFocusReason);
    for (int press = 0; press < 300 && down->isEnabled(); ++press) {
        QTest::keyClick(down, Qt::Key_Space);
        settle();
    }
    ASSERT_FALSE(down->isEnabled());
    QWidget* focused = QApplication::focusWidget();
    EXPECT_EQ(heardText(focused), "색온도") << heardName(focused);
    EXPECT_EQ(focused->parentWidget(), down->parentWidget());
    EXPECT_TRUE(focusInSight());
}

// At the largest text size, Tab onto a name field low on the page shows the
// whole field with its focus ring, not only the line its cursor stands on,
// and the new row a save adds shows whole as the focus goes on to it.
TEST_F(FocusFollowsTest, ANameFieldTabReachesShowsWholeAtTheLargestTextSize) {
    world.store->setTextSize(QuorvaneTextSize::veryLarge);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    for (const auto& namePage : kNamePages) {
        SCOPED_TRACE(namePage.field);
        MainWindow window(*context);
        window.resize(900, 620);
        window.state().setShowsAdvancedSections(true);
        window.state().selectSection(namePage.section);
        open(&window);
        QWidget* field = heardOnPage(window, namePage.field);
        ASSERT_NE(field, nullptr);
        firstTabStop(window.detailForm()->page())->setFocus(Qt::TabFocusReason);
        for (int stop = 0; stop < 60 && QApplication::focusWidget() != field; ++stop)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), field);
        constexpr int kRing = 3;
        const QRect heard = heardRect(field);
        EXPECT_TRUE(seenArea(field).contains(heard.adjusted(-kRing, -kRing, kRing, kRing)))
            << heard.bottom() << " under " << seenArea(field).bottom();
        // A new row taller than the field shows whole as it takes the focus.
        QTest::keyClicks(field, QStringLiteral("Tall"));
        QTest::keyClick(field, Qt::Key_Return);
        settle();
        EXPECT_NE(QApplication::focusWidget(), field);
        EXPECT_TRUE(focusInSight()) << heardName(QApplication::focusWidget());
    }
}

// The confirmation of "전체 복구" belongs to the panel: answered either
// way, the panel is there again with the focus on the button that asked.
TEST_F(FocusFollowsTest, TheRecoveryConfirmationReturnsToThePanelOnTheButtonThatAsked) {
    PanelHost host;
    auto* panel = placePanel(host, 380);
    int reopened = 0;
    shell.togglePanel = [&] {
        ++reopened;
        if (host.isVisible()) {
            host.hide();
            return;
        }
        host.show();
        host.activateWindow();
    };
    ChipButton* asker = panel->recoveryCard()->recoverButton();
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "confirmed" : "cancelled");
        open(&host);
        // Pressed without taking the focus, as a screen reader presses it.
        ASSERT_NE(QApplication::focusWidget(), asker);
        asker->click();
        settle();
        QMessageBox* dialog = panel->confirmations()->dialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        // The popup closes as the dialog takes the screen.
        host.hide();
        settle();
        (confirm ? panel->confirmations()->confirmButton() : panel->confirmations()->cancelButton())
            ->click();
        settle();
        EXPECT_TRUE(host.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), asker) << heardName(QApplication::focusWidget());
        EXPECT_TRUE(focusInSight());
        host.hide();
        settle();
    }
    EXPECT_EQ(reopened, 2);
}

// Pressed through assistive technology, a menu item runs and its menu
// closes, so the next menu never opens on top of it.
TEST_F(FocusFollowsTest, AMenuItemPressedByAScreenReaderClosesItsMenu) {
    PanelHost host;
    auto* panel = placePanel(host, 600);
    open(&host);
    QMenu* menu = panel->header()->displayMenu();
    ASSERT_GE(menu->actions().size(), 2);
    menu->popup(panel->header()->mapToGlobal(QPoint(0, 0)));
    settle();
    ASSERT_TRUE(menu->isVisible());
    QAccessibleInterface* heardMenu = QAccessible::queryAccessibleInterface(menu);
    ASSERT_NE(heardMenu, nullptr);
    ASSERT_EQ(heardMenu->childCount(), 2);
    QAccessibleInterface* side = heardMenu->child(1);
    ASSERT_NE(side->actionInterface(), nullptr);
    side->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_EQ(world.store->selectedDisplayID(), DisplayID(2));
    EXPECT_FALSE(menu->isVisible());
}

// A check of the monitor greys its button (in the panel the button gives
// way to the progress line while it runs) and hands the focus to its
// neighbour; once the check ends the button takes the focus back and what
// the check came to is heard once. Moved on meanwhile, the focus stays
// where the user put it.
class FocusFollowsCheckTest : public FocusFollowsTest {
  protected:
    FocusFollowsCheckTest() { monitorLink = link; }
    // Ends the oldest held check: the monitor cannot be reached.
    void endCheckUnreached() {
        ASSERT_FALSE(link->probes.empty());
        auto [displayID, completion] = std::move(link->probes.front());
        link->probes.erase(link->probes.begin());
        DDCSnapshot snapshot;
        snapshot.displayID = displayID;
        completion(snapshot);
        settle();
    }
    // Presses `check`, ends the check and reads where the focus went.
    void checkAndExpectFocusBack(QWidget* check, const std::string& heardWhileRunning,
                                 const std::function<bool(const std::string&)>& outcome) {
        SpokenNotices notices;
        check->setFocus(Qt::TabFocusReason);
        QTest::keyClick(check, Qt::Key_Space);
        settle();
        ASSERT_FALSE(check->isEnabled() && check->isVisible());
        QWidget* handed = QApplication::focusWidget();
        ASSERT_NE(handed, nullptr);
        EXPECT_EQ(heardText(handed), heardWhileRunning);
        EXPECT_TRUE(focusInSight());
        EXPECT_EQ(notices.said(), std::vector<std::string>{});
        endCheckUnreached();
        EXPECT_EQ(QApplication::focusWidget(), check) << heardName(QApplication::focusWidget());
        EXPECT_TRUE(focusInSight());
        ASSERT_EQ(notices.said().size(), 1u);
        EXPECT_TRUE(outcome(notices.said().front())) << notices.said().front();

        notices.clear();
        QTest::keyClick(check, Qt::Key_Space);
        settle();
        QWidget* elsewhere = QApplication::focusWidget()->previousInFocusChain();
        while (!(elsewhere->focusPolicy() & Qt::TabFocus) || !elsewhere->isVisible() ||
               !elsewhere->isEnabled())
            elsewhere = elsewhere->previousInFocusChain();
        elsewhere->setFocus(Qt::TabFocusReason);
        endCheckUnreached();
        EXPECT_EQ(QApplication::focusWidget(), elsewhere) << heardName(QApplication::focusWidget());
        ASSERT_EQ(notices.said().size(), 1u);
        EXPECT_TRUE(outcome(notices.said().front())) << notices.said().front();
    }

    std::shared_ptr<HeldDDCController> link = std::make_shared<HeldDDCController>();
};

TEST_F(FocusFollowsCheckTest, AMonitorCheckTakesTheFocusBackWhenItEndsAndItsOutcomeIsHeard) {
    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().setShowsAdvancedSections(true);
    window.state().selectSection(MainWindowSection::hardware);
    open(&window);
    QWidget* check = heardOnPage(window, "가능 여부 확인");
    ASSERT_NE(check, nullptr);
    // The verdict, then the line under it as the page shows it.
    checkAndExpectFocusBack(check, "DDC/CI가 뭔가요?", [&](const std::string& said) {
        const std::string verdict = "미지원. ";
        return said.rfind(verdict, 0) == 0 &&
               heardTextOnPage(window, QString::fromStdString(said.substr(verdict.size())));
    });
}

TEST_F(FocusFollowsCheckTest, APanelCheckTakesTheFocusBackWhenItEndsAndItsOutcomeIsHeard) {
    PanelHost host;
    auto* panel = placePanel(host, 650);
    open(&host);
    QWidget* check = panel->quickTuneCard()->ddcStatusLine()->probeButton();
    ASSERT_TRUE(check->isVisible());
    // Its neighbour in the same card, never the section after it.
    QWidget* neighbour = nearestTabStop(check);
    ASSERT_NE(neighbour, nullptr);
    ASSERT_TRUE(panel->quickTuneCard()->isAncestorOf(neighbour));
    checkAndExpectFocusBack(check, heardText(neighbour),
                            [](const std::string& said) { return said == "모니터 설정 미지원"; });
}

// The undo prompt going after its time with the focus on "되돌리기" leaves
// the focus on the control the change came from, never on the one after
// the prompt (a Return meant for undo would press it); pressed, "되돌리기"
// does the same. In the panel and in the main window.
TEST_F(FocusFollowsTest, TheUndoPromptGoingLeavesTheFocusWhereTheChangeCameFrom) {
    const auto changeThenLeavePrompt = [&](QWidget* window, QWidget* slider) {
        auto* prompt = window->findChild<RecentChangePromptView*>();
        ASSERT_NE(prompt, nullptr);
        for (const bool pressed : {false, true}) {
            SCOPED_TRACE(pressed ? "undone" : "timed out");
            slider->setFocus(Qt::TabFocusReason);
            QTest::keyClick(slider, Qt::Key_PageUp);
            settle();
            for (auto* shown : window->findChildren<RecentChangePromptView*>())
                if (shown->isVisible())
                    prompt = shown;
            ASSERT_TRUE(prompt->isVisible());
            prompt->undoButton()->setFocus(Qt::TabFocusReason);
            settle();
            if (pressed)
                QTest::keyClick(prompt->undoButton(), Qt::Key_Return);
            else
                world.scheduler->advance(std::chrono::seconds(9));
            settle();
            ASSERT_FALSE(prompt->isVisible());
            EXPECT_EQ(QApplication::focusWidget(), slider)
                << heardName(QApplication::focusWidget());
            EXPECT_TRUE(focusInSight());
        }
    };
    PanelHost host;
    auto* panel = placePanel(host, 650);
    open(&host);
    changeThenLeavePrompt(&host, panel->quickTuneCard()->colorTemperatureRow()->slider());
    host.hide();

    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    changeThenLeavePrompt(&window, heardOnPage(window, "색온도"));
}

// A control low on a scrolled page that greys under the focus (a step
// button at its range's end) leaves the page where it was and hands the
// focus to a control that shows, never to one hidden in its row (here the
// rest of the row is hidden).
TEST_F(FocusFollowsTest, AControlGreyingLowOnAScrolledPageKeepsThePageAndHandsToAShownControl) {
    MainWindow window(*context);
    window.resize(1000, 420);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    QScrollArea* scroll = pageScroll(window);
    QWidget* down = heardOnPage(window, "색온도 100K 낮추기");
    ASSERT_NE(down, nullptr);
    QWidget* slider = heardOnPage(window, "색온도");
    ASSERT_EQ(slider->parentWidget(), down->parentWidget());
    // Brought into view from below: it stands at the bottom of the view.
    scroll->verticalScrollBar()->setValue(0);
    ASSERT_FALSE(seenArea(down).contains(heardRect(down)));
    down->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(focusInSight());
    QWidget* up = heardOnPage(window, "색온도 100K 높이기");
    ASSERT_NE(up, nullptr);
    slider->hide();
    up->hide();
    settle();
    ASSERT_GT(scroll->verticalScrollBar()->value(), 0);
    // Where a screen reader finds the button: the undo prompt appearing at
    // the page's top leaves it there too.
    const QRect place = heardRect(down);
    for (int press = 0; press < 300 && down->isEnabled(); ++press) {
        QTest::keyClick(down, Qt::Key_Space);
        settle();
    }
    ASSERT_FALSE(down->isEnabled());
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused->isVisible()) << heardName(focused);
    EXPECT_EQ(heardRect(down), place);
    EXPECT_TRUE(focusInSight()) << heardName(focused);
}

// A page replaced under the focus (a step card opening its page, another
// display chosen while a switch holds the focus) hands the focus to the new
// page, and the control a screen reader heard last stays in its place in
// the tree, hidden: the reader still asks about it after the focus has
// moved on, and takes a control gone by then for a destroyed one, saying
// nothing of it. It goes with the next page.
TEST_F(FocusFollowsTest, APageReplacedUnderTheFocusLeavesTheLastHeardControlInPlace) {
    MainWindow window(*context);
    window.resize(1000, 700);
    open(&window);
    const auto replaced = [this] {
        settle();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    const auto inPlace = [](QWidget* control) {
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(control);
        QAccessibleInterface* parent = heard ? heard->parent() : nullptr;
        return parent && parent->indexOfChild(heard) >= 0 &&
               parent->child(parent->indexOfChild(heard)) == heard;
    };
    QPointer<QWidget> step = heardOnPage(window, "1단계, 화면 색감 맞추기");
    ASSERT_TRUE(step);
    step->setFocus(Qt::TabFocusReason);
    QTest::keyClick(step, Qt::Key_Return);
    replaced();
    ASSERT_EQ(window.state().selectedSection, MainWindowSection::color);
    QPointer<QWidget> toggle = QApplication::focusWidget();
    ASSERT_TRUE(toggle);
    EXPECT_EQ(heardText(toggle), "화면 색감 보정");
    ASSERT_TRUE(step);
    EXPECT_FALSE(step->isVisible());
    EXPECT_TRUE(inPlace(step));

    world.store->setSelectedDisplayID(2);
    replaced();
    EXPECT_FALSE(step);
    ASSERT_TRUE(toggle);
    EXPECT_TRUE(inPlace(toggle));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(window.detailForm()->page()->isAncestorOf(QApplication::focusWidget()))
        << heardName(QApplication::focusWidget());
}

// Where the focus goes when the undo prompt goes, tried with the key a
// user presses a moment late: back where the change came from unless that
// key would do something there (a nudge, live or greyed at its range's end,
// hands to its row's slider; a tile, "적용" or a scene button to the card it
// sits in), never out of that card (to a toolbar or header button that
// opens a window or a menu) and never past the prompt. A Return and a Space
// that come late then change no screen and no setting, bring no new prompt
// and open nothing.
class PromptFocusReturnTest : public FocusFollowsTest {
  protected:
    void SetUp() override {
        FocusFollowsTest::SetUp();
        shell.openSettings = [this] { ++opened; };
        shell.openMainWindow = [this] { ++opened; };
    }
    // The prompt of `window` that shows now.
    static RecentChangePromptView* shownPrompt(QWidget* window) {
        for (auto* prompt : window->findChildren<RecentChangePromptView*>())
            if (prompt->isVisible())
                return prompt;
        return nullptr;
    }
    static bool aMenuShows() {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && qobject_cast<QMenu*>(top))
                return true;
        return false;
    }
    // The change made, the user goes to "되돌리기" and the prompt goes after
    // its time; then the late Return and Space come. Returns where the focus
    // was.
    QWidget* expireThenPressReturnLate(QWidget* window) {
        RecentChangePromptView* prompt = shownPrompt(window);
        EXPECT_NE(prompt, nullptr);
        if (!prompt)
            return nullptr;
        prompt->undoButton()->setFocus(Qt::TabFocusReason);
        settle();
        world.scheduler->advance(std::chrono::seconds(9));
        settle();
        EXPECT_FALSE(prompt->isVisible());
        QWidget* focused = QApplication::focusWidget();
        EXPECT_NE(focused, nullptr);
        if (!focused)
            return nullptr;
        EXPECT_TRUE(window->isAncestorOf(focused)) << heardName(focused);
        EXPECT_TRUE(focusInSight()) << heardName(focused);
        const auto before = world.store->selectedDisplay();
        const int gammaWrites = world.gamma->writeCount();
        const auto settings = world.savedPreferences();
        QTest::keyClick(focused, Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        settle();
        EXPECT_EQ(world.store->selectedDisplay(), before) << heardName(focused);
        EXPECT_FALSE(world.store->recentChangeRecoveryPrompt().has_value()) << heardName(focused);
        EXPECT_EQ(world.gamma->writeCount(), gammaWrites) << heardName(focused);
        EXPECT_EQ(world.savedPreferences(), settings) << heardName(focused);
        EXPECT_EQ(opened, 0) << heardName(focused);
        EXPECT_FALSE(aMenuShows()) << heardName(focused);
        EXPECT_EQ(QApplication::focusWidget(), focused);
        return focused;
    }
    // `focused` is heard as a page: a focused section named `title`.
    static void expectHeardAsThePage(QWidget* focused, const QString& title) {
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(focused);
        ASSERT_NE(heard, nullptr);
        EXPECT_EQ(heard->role(), QAccessible::Section) << heardName(focused);
        EXPECT_EQ(heard->text(QAccessible::Name), title);
        EXPECT_TRUE(heard->state().focusable);
        EXPECT_TRUE(heard->state().focused);
    }
    static void expectHeardAsThePage(QWidget* focused, MainWindowSection section) {
        expectHeardAsThePage(focused, toQString(sectionInfo(section).title));
    }
    // Presses `nudge` with Space, `presses` times or until it greys.
    void pressNudge(QWidget* nudge, int presses) {
        nudge->setFocus(Qt::TabFocusReason);
        for (int press = 0; press < presses && nudge->isEnabled(); ++press) {
            QTest::keyClick(nudge, Qt::Key_Space);
            settle();
        }
    }

    // Windows the shell was asked to open.
    int opened = 0;
};

TEST_F(PromptFocusReturnTest, ANudgeHandsToItsRowsSliderLiveOrGreyed) {
    PanelHost host;
    auto* panel = placePanel(host, 650);
    open(&host);
    PanelSliderRow* brightness = panel->quickTuneCard()->brightnessRow();
    pressNudge(brightness->decrementButton(), 1);
    EXPECT_EQ(expireThenPressReturnLate(&host), brightness->slider());

    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    QWidget* down = heardOnPage(window, "색온도 100K 낮추기");
    QWidget* slider = heardOnPage(window, "색온도");
    ASSERT_NE(down, nullptr);
    ASSERT_EQ(slider->parentWidget(), down->parentWidget());
    pressNudge(down, 1);
    EXPECT_EQ(expireThenPressReturnLate(&window), slider);
    // At its range's end the nudge greys: the focus still goes to its
    // slider, not past the prompt.
    pressNudge(down, 300);
    ASSERT_FALSE(down->isEnabled());
    EXPECT_EQ(expireThenPressReturnLate(&window), slider);
}

// A tile keeps the focus in its section, heard by the section's title.
TEST_F(PromptFocusReturnTest, APanelTileKeepsTheFocusInItsSection) {
    PanelHost host;
    auto* panel = placePanel(host, 650);
    open(&host);
    for (PanelTileSectionView* section : {panel->presetGrid(), panel->sceneStrip()}) {
        ASSERT_FALSE(section->tiles().empty());
        QAbstractButton* tile = section->tiles().back();
        tile->setFocus(Qt::TabFocusReason);
        QTest::keyClick(tile, Qt::Key_Space);
        settle();
        QWidget* focused = expireThenPressReturnLate(&host);
        EXPECT_EQ(focused, section) << heardName(focused);
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(section);
        EXPECT_TRUE(heard->state().focused);
        EXPECT_TRUE(heard->state().focusable);
        EXPECT_FALSE(heard->text(QAccessible::Name).isEmpty());
        // Tab goes on from there; the section is no stop of its own.
        QTest::keyClick(focused, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), section);
        EXPECT_FALSE(heard->state().focusable);
    }
}

// The section holding the focus draws a focus ring a sighted keyboard user
// sees, in the accent, standing out from the ground in either scheme; it
// goes when the focus leaves, and a theme change while it shows repaints it
// as a panel built in the new theme draws it.
TEST_F(PromptFocusReturnTest, AHeldSectionWearsAFocusRingUntilTheFocusLeaves) {
    // The section and the room around it, held as a tile's prompt leaves it.
    const auto holdSection = [this](PanelHost& host) -> PanelTileSectionView* {
        theme.applyToWindow(&host);
        auto* panel = placePanel(host, 650);
        open(&host);
        PanelTileSectionView* section = panel->presetGrid();
        section->tiles().back()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(section->tiles().back(), Qt::Key_Space);
        settle();
        EXPECT_EQ(expireThenPressReturnLate(&host), section);
        return section;
    };
    const auto around = [](QWidget* section) {
        QWidget* content = section->window()->findChild<QScrollArea*>()->widget();
        const QRect at(section->mapTo(content, QPoint(0, 0)), section->size());
        return content->grab(at.adjusted(-6, -6, 6, 6)).toImage();
    };
    // At each side's middle, the ring's line (3 pixels out) against the
    // ground beyond it (6 pixels out).
    const auto sideContrasts = [](const QImage& picture) {
        const int w = picture.width() - 1, h = picture.height() - 1;
        const QPoint sides[][2] = {{{w / 2, 3}, {w / 2, 0}},
                                   {{w / 2, h - 3}, {w / 2, h}},
                                   {{3, h / 2}, {0, h / 2}},
                                   {{w - 3, h / 2}, {w, h / 2}}};
        std::vector<double> ratios;
        for (const auto& [line, ground] : sides)
            ratios.push_back(contrastRatio(picture.pixelColor(line), picture.pixelColor(ground)));
        return ratios;
    };
    theme.setAppearance(QuorvaneAppearance::light);
    PanelHost restyled;
    PanelTileSectionView* section = holdSection(restyled);
    EXPECT_GE(std::ranges::min(sideContrasts(around(section))), 3.0);
    world.store->setTextSize(QuorvaneTextSize::veryLarge);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    theme.setAppearance(QuorvaneAppearance::dark);
    settle();
    const QImage restyledPicture = around(section);
    EXPECT_GE(std::ranges::min(sideContrasts(restyledPicture)), 3.0);
    {
        PanelHost fresh;
        expectSamePicture(*section, restyledPicture, around(holdSection(fresh)), "held-section");
    }
    open(&restyled);
    section->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(section, Qt::Key_Tab);
    settle();
    ASSERT_NE(QApplication::focusWidget(), section);
    EXPECT_EQ(std::ranges::max(sideContrasts(around(section))), 1.0);
}

// "적용" and a work mode's buttons keep the focus on their entry's row,
// heard by its name, never on the toolbar's "설정 열기".
TEST_F(PromptFocusReturnTest, ApplyAndASceneButtonKeepTheFocusOnTheirRow) {
    MainWindow window(*context);
    window.resize(1000, 700);
    const std::pair<MainWindowSection, std::string> buttons[] = {
        {MainWindowSection::presets, "적용"}, {MainWindowSection::scenes, "모든 화면"}};
    for (const auto& [section, title] : buttons) {
        SCOPED_TRACE(title);
        window.state().selectSection(section);
        open(&window);
        QWidget* apply = nullptr;
        for (auto* button : window.detailForm()->page()->findChildren<QPushButton*>())
            if (!apply && button->isVisible() && button->text().toStdString() == title)
                apply = button;
        ASSERT_NE(apply, nullptr);
        apply->setFocus(Qt::TabFocusReason);
        QTest::keyClick(apply, Qt::Key_Return);
        settle();
        QWidget* focused = expireThenPressReturnLate(&window);
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(focused->isAncestorOf(apply)) << heardName(focused);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(focused)->role(), QAccessible::Grouping);
    }
}

// From the card holding the focus, Tab goes on to the card's first control
// and Shift+Tab to the control before the card, as they would from where
// the card stands; never back to the window's first or last control.
TEST_F(PromptFocusReturnTest, TabFromTheHeldCardGoesOnFromWhereItStands) {
    // Presses `control`, lets the prompt go, then Tab (or Shift+Tab) on the card.
    const auto pressThenTab = [&](QWidget* window, QWidget* control, bool forward) {
        ASSERT_NE(control, nullptr);
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Space);
        settle();
        QWidget* card = expireThenPressReturnLate(window);
        ASSERT_NE(card, nullptr);
        auto stops = tabStopsInReadingOrder(window);
        std::erase_if(stops,
                      [](QWidget* stop) { return !stop->isVisible() || !stop->isEnabled(); });
        const auto first =
            std::ranges::find_if(stops, [card](QWidget* stop) { return card->isAncestorOf(stop); });
        ASSERT_TRUE(first != stops.end() && first != stops.begin());
        QTest::keyClick(card, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                        forward ? Qt::NoModifier : Qt::ShiftModifier);
        settle();
        EXPECT_EQ(QApplication::focusWidget(), forward ? *first : *std::prev(first))
            << heardName(QApplication::focusWidget());
    };
    for (const bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "Tab" : "Shift+Tab");
        PanelHost host;
        auto* panel = placePanel(host, 650);
        open(&host);
        pressThenTab(&host, panel->presetGrid()->tiles().back(), forward);

        MainWindow window(*context);
        window.resize(1000, 700);
        window.state().selectSection(MainWindowSection::presets);
        open(&window);
        pressThenTab(&window, heardOnPage(window, "적용"), forward);
    }
}

// A change made from elsewhere (a hot key, the command line) has no control
// it came from: the prompt going holds the focus on its page, never on the
// switch that follows it, nor on the switch's unnamed row when the user was
// on the switch. A screen reader hears the page by the section's title, the
// panel by its heading.
TEST_F(PromptFocusReturnTest, APromptOfAChangeFromElsewhereHoldsTheFocusOnItsPage) {
    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    QApplication::focusWidget()->clearFocus();
    world.store->applyPreset(DisplayPreset::builtIns().back(), 1);
    settle();
    QWidget* focused = expireThenPressReturnLate(&window);
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(focused->isAncestorOf(heardOnPage(window, "화면 색감 보정"))) << heardName(focused);
    expectHeardAsThePage(focused, MainWindowSection::color);
    // From the switch, whose plain row has no name to say: the page too.
    heardOnPage(window, "화면 색감 보정")->setFocus(Qt::TabFocusReason);
    world.store->applyPreset(DisplayPreset::builtIns().front(), 1);
    settle();
    expectHeardAsThePage(expireThenPressReturnLate(&window), MainWindowSection::color);

    // The panel is heard by its heading.
    PanelHost host;
    auto* panel = placePanel(host, 650);
    open(&host);
    QApplication::focusWidget()->clearFocus();
    world.store->applyPreset(DisplayPreset::builtIns()[1], 1);
    settle();
    focused = expireThenPressReturnLate(&host);
    ASSERT_NE(focused, nullptr);
    expectHeardAsThePage(focused, panel->findChild<PanelHeaderView*>()->titleLabel()->text());
}

// The prompt goes while the user is in another window (here the settings
// window): back in the main window, the focus is on the slider the change
// came from, the page where it was, not on the first sidebar row with the
// page at its top.
TEST_F(PromptFocusReturnTest, ThePromptGoingWhileTheUserIsElsewhereLeavesTheFocusForTheirReturn) {
    MainWindow window(*context);
    window.resize(1000, 900);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    QWidget* slider = heardOnPage(window, "색온도");
    ASSERT_NE(slider, nullptr);
    slider->setFocus(Qt::TabFocusReason);
    settle();
    QTest::keyClick(slider, Qt::Key_PageUp);
    settle();
    RecentChangePromptView* prompt = shownPrompt(&window);
    ASSERT_NE(prompt, nullptr);
    prompt->undoButton()->setFocus(Qt::TabFocusReason);
    settle();
    ASSERT_TRUE(seenArea(slider).contains(heardRect(slider)));

    SettingsWindow elsewhere(*context);
    open(&elsewhere);
    ASSERT_TRUE(elsewhere.isActiveWindow());
    world.scheduler->advance(std::chrono::seconds(9));
    settle();
    ASSERT_FALSE(prompt->isVisible());
    // Where the slider stands as the user comes back.
    const QRect place = heardRect(slider);
    open(&window);
    ASSERT_TRUE(window.isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), slider) << heardName(QApplication::focusWidget());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(slider)->state().focused);
    EXPECT_EQ(heardRect(slider), place);
    EXPECT_TRUE(focusInSight());
}

// A check that ends while the user is in another window (ours or another
// program's) says nothing there: its outcome is no news to where they are.
TEST_F(FocusFollowsCheckTest, ACheckEndingWhileTheUserIsElsewhereIsNotHeard) {
    MainWindow window(*context);
    window.resize(1000, 700);
    window.state().setShowsAdvancedSections(true);
    window.state().selectSection(MainWindowSection::hardware);
    open(&window);
    QWidget* check = heardOnPage(window, "가능 여부 확인");
    ASSERT_NE(check, nullptr);
    check->setFocus(Qt::TabFocusReason);
    QTest::keyClick(check, Qt::Key_Space);
    settle();
    SettingsWindow elsewhere(*context);
    open(&elsewhere);
    ASSERT_FALSE(window.isActiveWindow());
    SpokenNotices notices;
    endCheckUnreached();
    EXPECT_EQ(notices.said(), std::vector<std::string>{});
}

// Every text and focus event told of `watched`, in order, while it lives
// (accessibility live, as under a screen reader).
class TextAndFocusEvents {
  public:
    explicit TextAndFocusEvents(const std::function<bool(QObject*)>& watched) : watched_(watched) {}

    const std::vector<QAccessible::Event>& told() const { return told_; }

  private:
    void heard(QAccessibleEvent* event) {
        if (!watched_(event->object()))
            return;
        switch (event->type()) {
            case QAccessible::Focus:
            case QAccessible::TextInserted:
            case QAccessible::TextRemoved:
            case QAccessible::TextUpdated:
            case QAccessible::TextCaretMoved:
            case QAccessible::TextSelectionChanged:
                told_.push_back(event->type());
                break;
            default:
                break;
        }
    }

    LiveAccessibility live_;
    std::function<bool(QObject*)> watched_;
    std::vector<QAccessible::Event> told_;
    AccessibleEventHook hook_{[this](QAccessibleEvent* event) { heard(event); }};
};

// A page a step card opens under the focus is heard with its focus: with a
// monitor alias saved, "2단계" and "3단계" take the focus to the alias
// field, and the field is told of nothing before its focus (a text typed
// and a caret moved, which a screen reader reading them once the field is
// focused takes for the focus, saying only "Left"); it is read as the
// focus reaches it, by its name and its text.
TEST_F(FocusFollowsTest, APageOpenedUnderTheFocusTellsNothingOfItsFieldsBeforeTheFocus) {
    world.store->setDisplayAlias("Left", 1);
    MainWindow window(*context);
    window.resize(1000, 700);
    open(&window);
    for (const char* step : {"2단계, 마음에 들면 저장", "3단계, 이상하면 되돌리기"}) {
        SCOPED_TRACE(step);
        window.state().selectSection(MainWindowSection::start);
        settle();
        QWidget* card = heardOnPage(window, step);
        ASSERT_NE(card, nullptr);
        card->setFocus(Qt::TabFocusReason);
        settle();
        TextAndFocusEvents events(
            [](QObject* object) { return qobject_cast<QLineEdit*>(object) != nullptr; });
        QTest::keyClick(card, Qt::Key_Return);
        settle();
        auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(field, nullptr) << heardName(QApplication::focusWidget());
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(field);
        EXPECT_EQ(heard->text(QAccessible::Name), QStringLiteral("모니터 별칭"));
        EXPECT_EQ(heard->textInterface()->text(0, heard->textInterface()->characterCount()),
                  QStringLiteral("Left"));
        EXPECT_EQ(events.told(), std::vector<QAccessible::Event>{QAccessible::Focus});
    }
}

}  // namespace
}  // namespace quorvane::testing
