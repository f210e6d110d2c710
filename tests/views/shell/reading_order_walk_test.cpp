// The way Tab takes through every window, checked against where the
// screen reader finds each control (its accessible extents): the chain
// reaches every control that shows, each block of the window (the sidebar,
// the toolbar, the page, a card) is read whole, and inside a block, and from
// one block to the next, Tab never steps back up the window or back to the
// leading side of a line. After every Tab the focused control lies inside
// its window. Tab into a picker lands on its chosen segment, and after an
// arrow moves the choice Tab goes on in reading order.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <set>
#include <string>
#include <vector>

#include "app/shell/panel_host.hpp"
#include "display_store/store_world.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "views/access/reading_order.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/detail_surface_frame.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/main_window/main_utility_header.hpp"
#include "views/main_window/main_window.hpp"
#include "views/main_window/main_window_sidebar.hpp"
#include "views/main_window/sidebar_row_button.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_footer_view.hpp"
#include "views/settings/settings_appearance_card.hpp"
#include "views/settings/settings_behavior_card.hpp"
#include "views/settings/settings_files_card.hpp"
#include "views/settings/settings_recovery_card.hpp"
#include "views/settings/settings_shortcuts_card.hpp"
#include "views/settings/settings_status_strip_view.hpp"
#include "views/settings/settings_support_card.hpp"
#include "views/settings/settings_window.hpp"
#include "views/store_bridge.hpp"
#include "views/support/heard_focus.hpp"
#include "views/support/window_world.hpp"

namespace quorvane::testing {
namespace {

// `later` reads before `earlier`: wholly above it, or on its line (the middle
// of one within the height of the other) and wholly on its leading side.
bool readsBefore(const QRect& later, const QRect& earlier) {
    if (later.bottom() < earlier.top())
        return true;
    const auto within = [](int y, const QRect& rect) {
        return y >= rect.top() && y <= rect.bottom();
    };
    const bool oneLine = within(later.center().y(), earlier) || within(earlier.center().y(), later);
    return oneLine && later.right() < earlier.left();
}

bool isTabStop(QWidget* widget, QWidget* window) {
    return widget->window() == window && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           !widget->focusProxy() && widget->isVisible() && widget->isEnabled();
}

// The window's controls in the order its focus chain gives them, from the
// control that holds the focus.
std::vector<QWidget*> tabChain(QWidget* window) {
    QWidget* start = QApplication::focusWidget();
    if (!start || start->window() != window)
        return {};
    std::vector<QWidget*> chain{start};
    for (QWidget* next = start->nextInFocusChain(); next != start;
         next = next->nextInFocusChain()) {
        if (isTabStop(next, window))
            chain.push_back(next);
    }
    return chain;
}

// The blocks a window is read in: the parts a test names (the sidebar, the
// toolbar, the page) and every card and scroll area, nested as they nest.
std::vector<QWidget*> blocksOf(QWidget* window, std::vector<QWidget*> parts) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (qobject_cast<SurfacePanel*>(widget) || qobject_cast<DetailSurfaceFrame*>(widget) ||
            qobject_cast<QScrollArea*>(widget))
            parts.push_back(widget);
    }
    return parts;
}

// The blocks around `stop`, outermost first, then the stop itself.
std::vector<QWidget*> pathOf(QWidget* stop, const std::vector<QWidget*>& blocks) {
    std::vector<QWidget*> path{stop};
    for (QWidget* widget = stop->parentWidget(); widget && !widget->isWindow();
         widget = widget->parentWidget()) {
        if (std::find(blocks.begin(), blocks.end(), widget) != blocks.end())
            path.insert(path.begin(), widget);
    }
    return path;
}

// What is wrong with the window's Tab chain, read against its blocks: each
// block is read whole, and from one stop to the next, Tab moves on within
// the innermost block the two share, never back.
std::vector<std::string> readingOrderFaults(QWidget* window, const std::vector<QWidget*>& parts) {
    std::vector<std::string> faults;
    const auto chain = tabChain(window);
    if (chain.empty())
        return {"nothing in the window has the focus"};
    std::set<QWidget*> reached(chain.begin(), chain.end());
    for (QWidget* widget : window->findChildren<QWidget*>())
        if (isTabStop(widget, window) && !reached.count(widget))
            faults.push_back(heardName(widget) + " is never reached");
    const auto blocks = blocksOf(window, parts);
    std::set<QWidget*> left;
    for (std::size_t index = 1; index < chain.size(); ++index) {
        const auto before = pathOf(chain[index - 1], blocks);
        const auto after = pathOf(chain[index], blocks);
        std::size_t shared = 0;
        while (shared + 1 < before.size() && shared + 1 < after.size() &&
               before[shared] == after[shared])
            ++shared;
        if (readsBefore(heardRect(after[shared]), heardRect(before[shared])))
            faults.push_back(heardName(chain[index]) + " comes after " +
                             heardName(chain[index - 1]));
        left.insert(before.begin() + static_cast<std::ptrdiff_t>(shared), before.end());
        for (auto entered = after.begin() + static_cast<std::ptrdiff_t>(shared);
             entered != after.end(); ++entered) {
            if (left.count(*entered))
                faults.push_back(heardName(chain[index]) + " comes back to a block left before");
        }
    }
    return faults;
}

class ReadingOrderWalkTest : public WindowWorldTest {
  protected:
    // Every picker that shows, walked as a keyboard user does: Tab reaches
    // its chosen segment first; an arrow moves the choice and the focus;
    // Tab then goes on to the control after the picker in reading order and
    // Shift+Tab back to the new choice. The choice is put back after.
    std::vector<std::string> pickerWalkFaults(QWidget* window, std::size_t& walked) {
        std::vector<std::string> faults;
        walked = 0;
        for (QButtonGroup* group : window->findChildren<QButtonGroup*>()) {
            QAbstractButton* chosen = group->checkedButton();
            if (!chosen || !chosen->isVisible() || !chosen->isEnabled())
                continue;
            const std::string name = heardName(chosen->parentWidget());
            ++walked;
            const auto buttons = group->buttons();
            const auto inPicker = [&buttons](QWidget* widget) {
                return std::find(buttons.begin(), buttons.end(), widget) != buttons.end();
            };
            for (int stop = 0; stop < 300 && !inPicker(QApplication::focusWidget()); ++stop) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                settle();
            }
            QWidget* reached = QApplication::focusWidget();
            if (reached != chosen) {
                faults.push_back(name + ": Tab lands on " + heardName(reached));
                continue;
            }
            const bool last = chosen == buttons.back();
            const Qt::Key there = last ? Qt::Key_Left : Qt::Key_Right;
            QTest::keyClick(chosen, there);
            settle();
            QWidget* moved = QApplication::focusWidget();
            if (!inPicker(moved) || moved == chosen || !group->checkedButton() ||
                group->checkedButton() != moved) {
                faults.push_back(name + ": the arrow leaves the choice on " + heardName(moved));
                continue;
            }
            QTest::keyClick(moved, Qt::Key_Tab);
            settle();
            // On to the control after the picker in the window's reading
            // order (round to the first from the last).
            QWidget* next = QApplication::focusWidget();
            std::vector<QWidget*> stops;
            for (QWidget* stop : tabStopsInReadingOrder(window))
                if (stop->isVisible() && stop->isEnabled())
                    stops.push_back(stop);
            const auto at = std::find(stops.begin(), stops.end(), moved);
            QWidget* expected =
                at == stops.end() ? nullptr : (at + 1 == stops.end() ? stops.front() : *(at + 1));
            if (!next || next != expected)
                faults.push_back(name + ": Tab after the arrow goes to " + heardName(next) +
                                 ", not " + heardName(expected));
            if (next)
                QTest::keyClick(next, Qt::Key_Backtab);
            settle();
            if (QApplication::focusWidget() != moved)
                faults.push_back(name + ": Shift+Tab comes back to " +
                                 heardName(QApplication::focusWidget()));
            QTest::keyClick(moved, last ? Qt::Key_Right : Qt::Key_Left);
            settle();
        }
        return faults;
    }

    // Tab once round the window: the stops reached, and those found outside
    // the window's frame when reached.
    std::vector<std::string> tabRound(std::vector<QWidget*>& reached) {
        std::vector<std::string> offScreen;
        QWidget* first = QApplication::focusWidget();
        for (int stop = 0; stop < 300 && first; ++stop) {
            QWidget* focused = QApplication::focusWidget();
            reached.push_back(focused);
            if (!seenArea(focused).contains(heardRect(heardFocus(focused))))
                offScreen.push_back(heardName(focused));
            QTest::keyClick(focused, Qt::Key_Tab);
            settle();
            if (QApplication::focusWidget() == first)
                break;
        }
        return offScreen;
    }
};

TEST_F(ReadingOrderWalkTest, TheMainWindowReadsSidebarThenToolbarThenEveryPage) {
    MainWindow window(*context);
    window.resize(1000, 640);
    window.state().setShowsAdvancedSections(true);
    open(&window);
    const std::vector<QWidget*> blocks{window.sidebar(), window.utilityHeader(),
                                       window.detailForm()};
    // The window opens on its first display row.
    EXPECT_EQ(QApplication::focusWidget(),
              static_cast<QWidget*>(window.sidebar()->displayRows().front()));
    for (const auto section : kAllMainWindowSections) {
        SCOPED_TRACE(static_cast<int>(section));
        window.state().selectSection(section);
        settle();
        EXPECT_EQ(readingOrderFaults(&window, blocks), std::vector<std::string>{});
    }
}

TEST_F(ReadingOrderWalkTest, TheMainWindowsTabRoundKeepsEveryStopOnScreen) {
    MainWindow window(*context);
    window.resize(900, 560);
    window.state().setShowsAdvancedSections(true);
    window.state().selectSection(MainWindowSection::color);
    open(&window);
    std::vector<QWidget*> reached;
    EXPECT_EQ(tabRound(reached), std::vector<std::string>{});
    EXPECT_EQ(reached, tabChain(&window));
}

TEST_F(ReadingOrderWalkTest, ArrowsInEveryPickerKeepTabInReadingOrder) {
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        SCOPED_TRACE(static_cast<int>(size));
        world.store->setTextSize(size);
        theme.setTextSize(size);
        MainWindow main(*context);
        main.resize(1000, 700);
        main.state().setShowsAdvancedSections(true);
        main.state().selectSection(MainWindowSection::color);
        open(&main);
        std::size_t walked = 0;
        // The toolbar's screen mode, the output filter and the RGB curve's
        // channels.
        EXPECT_EQ(pickerWalkFaults(&main, walked), std::vector<std::string>{});
        EXPECT_EQ(walked, 3u);
        main.hide();

        // The screen mode and the text size.
        SettingsWindow settings(*context);
        settings.resize(700, 800);
        open(&settings);
        EXPECT_EQ(pickerWalkFaults(&settings, walked), std::vector<std::string>{});
        EXPECT_EQ(walked, 2u);
        settings.hide();
    }
}

TEST_F(ReadingOrderWalkTest, ThePanelReadsTopToBottomWithItsFooterLast) {
    PanelHost host;
    auto* panel = new MenuPanel(*context, &host);
    host.layout()->addWidget(panel);
    host.resize(390, 520);  // shorter than its content: it scrolls
    open(&host);
    auto* scroll = panel->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(readingOrderFaults(&host, {scroll, panel->footer()}), std::vector<std::string>{});
    std::vector<QWidget*> reached;
    EXPECT_EQ(tabRound(reached), std::vector<std::string>{});
    EXPECT_EQ(reached, tabChain(&host));
}

TEST_F(ReadingOrderWalkTest, TheSettingsWindowReadsCardByCard) {
    for (const QSize size : {QSize(700, 800), QSize(1100, 700)}) {
        SCOPED_TRACE(size.width());
        SettingsWindow window(*context);
        window.resize(size);
        open(&window);
        // Read from the top: the window opens on a later control, past the
        // way to the main window.
        window.openMainWindowButton()->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(readingOrderFaults(
                      &window, {window.statusStrip(), window.appearanceCard(),
                                window.behaviorCard(), window.shortcutsCard(), window.filesCard(),
                                window.supportCard(), window.recoveryCard()}),
                  std::vector<std::string>{});
        std::vector<QWidget*> reached;
        EXPECT_EQ(tabRound(reached), std::vector<std::string>{});
        EXPECT_EQ(reached, tabChain(&window));
    }
}

TEST_F(ReadingOrderWalkTest, TheImportSheetOpensWithItsFocusInSightAndReadsItsFooterLast) {
    auto preferences = QuorvanePreferences::defaults();
    preferences.textSize = QuorvaneTextSize::veryLarge;
    SettingsImportPreviewSheet sheet(*context, QuorvaneSettingsImportDraft::of(preferences),
                                     nullptr);
    sheet.resize(680, 640);
    open(&sheet);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    auto* scroll = sheet.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(seenArea(focused).contains(heardRect(heardFocus(focused)))) << heardName(focused);
    EXPECT_EQ(readingOrderFaults(&sheet, {scroll, sheet.cancelButton()->parentWidget()}),
              std::vector<std::string>{});
    std::vector<QWidget*> reached;
    EXPECT_EQ(tabRound(reached), std::vector<std::string>{});
    // The import mode.
    std::size_t walked = 0;
    EXPECT_EQ(pickerWalkFaults(&sheet, walked), std::vector<std::string>{});
    EXPECT_EQ(walked, 1u);
}

}  // namespace
}  // namespace quorvane::testing
