// What a screen reader names first when a window opens: the focus lands on a
// control the user can act on, heard with its name, never on a nameless
// pane, and Tab never rests on one. The tray panel starts there on every
// opening, Escape still closes it, a screen reader is told its focus on
// each opening, and a slider it held before no longer takes the wheel.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLayout>
#include <QSlider>
#include <QTest>
#include <string>
#include <vector>

#include "app/shell/panel_host.hpp"
#include "display_store/store_world.hpp"
#include "views/access/opening_focus.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/main_window/main_window.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_header_view.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_recovery_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/accessible_event_hook.hpp"
#include "views/support/live_accessibility.hpp"
#include "views/support/wheel_input.hpp"
#include "views/support/window_world.hpp"

namespace quorvane::testing {
namespace {

// The focused widget as the bridge reads it: a control role and a name, or
// what is wrong with it.
std::string heardFocus(QWidget* window) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !window->isAncestorOf(focus))
        return "no focus in the window";
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(focus);
    static const std::vector<QAccessible::Role> controls{
        QAccessible::Button,   QAccessible::CheckBox,    QAccessible::RadioButton,
        QAccessible::ComboBox, QAccessible::Slider,      QAccessible::ButtonMenu,
        QAccessible::PageTab,  QAccessible::EditableText};
    const std::string what = std::string(focus->metaObject()->className()) + " \"" +
                             heard->text(QAccessible::Name).toStdString() + "\"";
    if (std::find(controls.begin(), controls.end(), heard->role()) == controls.end())
        return what + " is no control (role " + std::to_string(heard->role()) + ")";
    if (heard->text(QAccessible::Name).trimmed().isEmpty())
        return what + " has no name";
    return {};
}

// The controls a screen reader is told took the focus while it lives, by
// the names it reads, in order.
class ToldFocus {
  public:
    const std::vector<std::string>& told() const { return told_; }
    // The windows it is told came to the front, as the bridge tells it: a
    // change of the active state read while the window is active.
    const std::vector<std::string>& activated() const { return activated_; }

  private:
    void heard(QAccessibleEvent* event) {
        QAccessibleInterface* heard = event->accessibleInterface();
        if (!heard)
            return;
        const std::string name = heard->text(QAccessible::Name).toStdString();
        if (event->type() == QAccessible::Focus)
            told_.push_back(name);
        if (event->type() == QAccessible::StateChanged &&
            static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().active &&
            heard->state().active)
            activated_.push_back(name);
    }

    LiveAccessibility live_;
    std::vector<std::string> told_;
    std::vector<std::string> activated_;
    AccessibleEventHook hook_{[this](QAccessibleEvent* event) { heard(event); }};
};

class OpeningFocusTest : public WindowWorldTest {
  protected:
    OpeningFocusTest() { displays = {externalDisplay(1, "Studio", 1001)}; }

    // Every stop of the window's Tab cycle heard as it is reached.
    std::vector<std::string> namelessTabStops(QWidget* window) {
        std::vector<std::string> found;
        QWidget* first = QApplication::focusWidget();
        for (int stop = 0; stop < 200 && first; ++stop) {
            if (auto heard = heardFocus(window); !heard.empty())
                found.push_back(heard);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
        }
        return found;
    }
};

TEST_F(OpeningFocusTest, EveryWindowOpensOnANamedControlAndTabNeverRestsOnANamelessPane) {
    MainWindow main(*context);
    main.resize(1000, 700);
    SettingsWindow settings(*context);
    settings.resize(700, 800);
    PanelHost panel;
    panel.layout()->addWidget(new MenuPanel(*context, &panel));
    panel.resize(390, 650);
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &settings, &panel}) {
        SCOPED_TRACE(window->metaObject()->className());
        open(window);
        EXPECT_EQ(heardFocus(window), "");
        EXPECT_EQ(namelessTabStops(window), std::vector<std::string>{});
        window->hide();
    }
}

TEST_F(OpeningFocusTest, ThePanelStartsOnItsFirstControlEachTimeAndEscapeStillClosesIt) {
    PanelHost host;
    auto* panel = new MenuPanel(*context, &host);
    host.layout()->addWidget(panel);
    host.resize(390, 380);  // shorter than its content: it scrolls
    ASSERT_TRUE(host.isPopupForm());
    open(&host);
    QWidget* first = QApplication::focusWidget();
    EXPECT_EQ(heardFocus(&host), "");
    EXPECT_TRUE(panel->header()->isAncestorOf(first));

    // The user tabs to a slider (picking it), then closes the panel.
    QSlider* slider = panel->quickTuneCard()->contrastRow()->slider();
    while (QApplication::focusWidget() != slider && host.isAncestorOf(QApplication::focusWidget()))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(slider->hasFocus());
    QTest::keyClick(slider, Qt::Key_Escape);
    EXPECT_FALSE(host.isVisible());

    // Opened again: back on the first control, and the slider lets the
    // wheel scroll the panel.
    open(&host);
    EXPECT_EQ(QApplication::focusWidget(), first);
    const ColorAdjustment before = world.store->colorAdjustment(1);
    EXPECT_TRUE(wheelScrollsPast(slider, [this] { settle(); }));
    EXPECT_EQ(world.store->colorAdjustment(1), before);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(host.isVisible());
}

// The settings window and the main window reopen on the control they
// first opened on, whatever had the focus when they closed: a control
// a few Tabs on, or the full reset's button after its prompt was
// cancelled. That control opens nothing and shows no other page, and a
// screen reader is told it once on each opening.
TEST_F(OpeningFocusTest, AWindowReopensOnTheSameControlWhereNoKeyHarms) {
    // Shown again, the window is made active as a window manager does.
    const auto reopen = [this](QWidget* window) {
        open(window);
        QApplication::setActiveWindow(window);
        settle();
    };
    SettingsWindow settings(*context);
    settings.resize(700, 800);
    MainWindow main(*context);
    main.resize(1000, 700);
    for (QWidget* window : std::initializer_list<QWidget*>{&settings, &main}) {
        SCOPED_TRACE(window->metaObject()->className());
        open(window);
        QWidget* first = QApplication::focusWidget();
        ASSERT_TRUE(window->isAncestorOf(first));
        EXPECT_EQ(heardFocus(window), "");
        EXPECT_EQ(keyEffectOf(first), KeyEffect::stays);
        const std::string name =
            QAccessible::queryAccessibleInterface(first)->text(QAccessible::Name).toStdString();
        for (const int tabs : {3, 9, 14}) {
            SCOPED_TRACE(tabs);
            for (int tab = 0; tab < tabs; ++tab)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_NE(QApplication::focusWidget(), first);
            window->hide();
            settle();
            ToldFocus focus;
            reopen(window);
            EXPECT_EQ(QApplication::focusWidget(), first);
            EXPECT_EQ(focus.told(), std::vector<std::string>{name});
        }
        window->hide();
    }

    reopen(&settings);
    QWidget* first = QApplication::focusWidget();
    ChipButton* reset = settings.recoveryCard()->resetAction()->button();
    EXPECT_EQ(keyEffectOf(reset), KeyEffect::opensWindow);
    EXPECT_EQ(keyEffectOf(settings.openMainWindowButton()), KeyEffect::opensWindow);
    reset->setFocus(Qt::TabFocusReason);
    QTest::keyClick(reset, Qt::Key_Space);
    settle();
    auto* presenter = settings.confirmations();
    ASSERT_NE(presenter->dialog(), nullptr);
    presenter->cancelButton()->click();
    settle();
    settings.activateWindow();
    settle();
    ASSERT_EQ(QApplication::focusWidget(), reset);
    settings.hide();
    settle();
    reopen(&settings);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

// A popup opened again finds the focus where it left it; a screen reader
// must still be told of it, or it hears only the window's name. Closed by
// Escape, it tells of no focus in the window that goes.
TEST_F(OpeningFocusTest, EachOpeningOfThePopupTellsAScreenReaderItsFocusOnce) {
    PanelHost host;
    host.layout()->addWidget(new MenuPanel(*context, &host));
    host.resize(390, 650);
    ASSERT_TRUE(host.isPopupForm());
    for (int opening = 0; opening < 3; ++opening) {
        SCOPED_TRACE(opening);
        ToldFocus focus;
        open(&host);
        ASSERT_TRUE(host.isAncestorOf(QApplication::focusWidget()));
        const std::string first = QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                                      ->text(QAccessible::Name)
                                      .toStdString();
        EXPECT_EQ(focus.told(), std::vector<std::string>{first});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_FALSE(host.isVisible());
        EXPECT_EQ(focus.told(), std::vector<std::string>{first});
    }
}

// The popup opened over the main window takes the focus from it: a screen
// reader is told the popup came to the front, not the window under it too,
// which it would name after the popup's control. The popup is named as the
// panel it is, not by the application's bare name.
TEST_F(OpeningFocusTest, ThePopupOpenedOverTheMainWindowIsTheOneWindowToldActive) {
    MainWindow main(*context);
    main.setWindowTitle(QStringLiteral("Studio"));
    main.resize(1000, 700);
    open(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    PanelHost host;
    host.layout()->addWidget(new MenuPanel(*context, &host));
    host.resize(390, 650);
    ToldFocus focus;
    open(&host);
    EXPECT_EQ(focus.activated(), std::vector<std::string>{"빠른 화면 조정"});
}

}  // namespace
}  // namespace quorvane::testing
