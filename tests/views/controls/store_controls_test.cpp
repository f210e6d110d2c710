#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "views/controls/control_world.hpp"
#include "views/controls/correction_toggle.hpp"
#include "views/controls/recent_change_prompt_view.hpp"
#include "views/design/appearance_switcher.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/support/ink.hpp"
#include "views/support/ink_contrast.hpp"

namespace quorvane {
namespace {

void turn() {
    QCoreApplication::processEvents();
}

TEST(AppearanceSwitcherTest, TwoOptionSwitcherFollowsTheDesktopWhileTheStoreFollowsTheSystem) {
    testing::ControlWorld world;
    world.store->setAppearance(QuorvaneAppearance::system);
    world.theme.setSystemScheme(ColorScheme::dark);
    AppearanceSwitcher switcher(*world.context, false, false, AppearanceSwitcher::Chrome::toolbar);
    EXPECT_TRUE(switcher.optionButton(QuorvaneAppearance::dark)->isChecked());
    EXPECT_FALSE(switcher.optionButton(QuorvaneAppearance::light)->isChecked());
    EXPECT_EQ(switcher.optionButton(QuorvaneAppearance::system), nullptr);
    world.theme.setSystemScheme(ColorScheme::light);
    EXPECT_TRUE(switcher.optionButton(QuorvaneAppearance::light)->isChecked());
    EXPECT_EQ(world.store->appearance(), QuorvaneAppearance::system);
    // Heard as every segmented picker is, the chosen option checked, and
    // also as the selected option with the value "선택됨".
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(switcher.optionButton(QuorvaneAppearance::light));
    EXPECT_EQ(accessible->role(), QAccessible::RadioButton);
    EXPECT_TRUE(accessible->state().checkable);
    EXPECT_TRUE(accessible->state().checked);
    EXPECT_TRUE(accessible->state().selectable);
    EXPECT_TRUE(accessible->state().selected);
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("선택됨"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("화면 모드: 라이트"));
    QAccessibleInterface* dark =
        QAccessible::queryAccessibleInterface(switcher.optionButton(QuorvaneAppearance::dark));
    EXPECT_FALSE(dark->state().checked);
    EXPECT_TRUE(dark->state().selectable);
    EXPECT_FALSE(dark->state().selected);
    EXPECT_EQ(dark->text(QAccessible::Value), QString());
    // The selection moves with the desktop's scheme, and what is heard with it.
    world.theme.setSystemScheme(ColorScheme::dark);
    EXPECT_TRUE(dark->state().checked);
    EXPECT_TRUE(dark->state().selected);
    EXPECT_EQ(dark->text(QAccessible::Value), QStringLiteral("선택됨"));
    EXPECT_FALSE(accessible->state().selected);
    EXPECT_EQ(accessible->text(QAccessible::Value), QString());
    // Placed in a window, the group is named by its title.
    QWidget window;
    auto* placed = new AppearanceSwitcher(*world.context, false, false,
                                          AppearanceSwitcher::Chrome::toolbar, &window);
    QAccessibleInterface* group = QAccessible::queryAccessibleInterface(placed);
    EXPECT_EQ(group->role(), QAccessible::Grouping);
    EXPECT_EQ(group->text(QAccessible::Name), QStringLiteral("화면 모드"));
}

TEST(AppearanceSwitcherTest, TappingTheSelectedOptionStillSetsItThroughTheStore) {
    testing::ControlWorld world;
    world.store->setAppearance(QuorvaneAppearance::dark);
    AppearanceSwitcher switcher(*world.context, true, false, AppearanceSwitcher::Chrome::panel);
    switcher.show();
    world.store->setStatusMessage("");
    QTest::mouseClick(switcher.optionButton(QuorvaneAppearance::dark), Qt::LeftButton);
    EXPECT_EQ(world.store->statusMessage(), "화면 모드: 다크");
    QTest::mouseClick(switcher.optionButton(QuorvaneAppearance::system), Qt::LeftButton);
    EXPECT_EQ(world.store->appearance(), QuorvaneAppearance::system);
    EXPECT_TRUE(switcher.optionButton(QuorvaneAppearance::system)->isChecked());
    EXPECT_FALSE(switcher.optionButton(QuorvaneAppearance::dark)->isChecked());
}

TEST(CorrectionToggleTest, WritesOnlyThroughTheStoreAndFollowsChangesMadeElsewhere) {
    testing::ControlWorld world;
    CorrectionToggle toggle(*world.context, false);
    toggle.show();
    EXPECT_TRUE(toggle.toggle()->isChecked());
    toggle.toggle()->click();
    EXPECT_FALSE(world.store->softwareColorCorrectionEnabled());
    EXPECT_EQ(toggle.stateLine(),
              QStringLiteral("꺼져 있어도 슬라이더 값은 저장됩니다. 다시 켜면 저장한 값이 화면에 "
                             "보입니다."));
    world.store->setSoftwareColorCorrectionEnabled(true);  // e.g. the settings window
    turn();
    EXPECT_TRUE(toggle.toggle()->isChecked());
}

TEST(CorrectionToggleTest, TheCheckBoxGrowsWithTheTextSize) {
    testing::ControlWorld world;
    CorrectionToggle toggle(*world.context, false);
    toggle.show();  // its window takes the theme's control size
    QCheckBox* box = toggle.toggle();
    const auto indicator = [box] {
        return box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
    };
    const int standard = indicator();
    EXPECT_GE(standard, QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth));
    world.theme.setTextSize(QuorvaneTextSize::veryLarge);
    // Large text: the box is at least as tall as the text's capital letters.
    EXPECT_GE(indicator(), QFontMetrics(box->font()).capHeight());
    EXPECT_GT(indicator(), standard);
    EXPECT_GE(box->sizeHint().height(), indicator());
}

struct PromptTest : ::testing::Test {
    testing::ControlWorld world;
    MonotonicTime now{};

    void change(double gamma) {
        world.store->updateColorAdjustment(
            testing::ControlWorld::kDisplay,
            [gamma](ColorAdjustment& value) { value.redGamma = gamma; });
    }
    void setNow(double secondsAfterCreation) {
        const auto& prompt = world.store->recentChangeRecoveryPrompt();
        now = prompt->shownAt + std::chrono::duration_cast<MonotonicTime::duration>(
                                    std::chrono::duration<double>(secondsAfterCreation));
    }
};

TEST_F(PromptTest, CountdownIsRecomputedFromCreationTimeOnEachTick) {
    RecentChangePromptView view(*world.context, false);
    view.setClock([this] { return now; });
    EXPECT_FALSE(view.isVisibleTo(nullptr) && view.isVisible());
    change(1.2);
    setNow(0);
    turn();
    EXPECT_EQ(view.shownSeconds(), 8);
    EXPECT_FALSE(view.isHidden());
    // Ticks that arrive late or are skipped still show the true remainder.
    setNow(2.3);
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 6);
    setNow(7.9);
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 1);
    setNow(12);
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 0);
    EXPECT_FALSE(view.isHidden());  // the banner never hides itself
}

TEST_F(PromptTest, KeepClosesOnlyTheShownPromptAndUndoPassesItsId) {
    RecentChangePromptView view(*world.context, false);
    view.show();
    change(1.2);
    turn();
    const std::string first = world.store->recentChangeRecoveryPrompt()->id;
    change(1.4);  // a newer prompt arrives before the view hears of it
    view.keepButton()->click();
    ASSERT_TRUE(world.store->recentChangeRecoveryPrompt());
    EXPECT_NE(world.store->recentChangeRecoveryPrompt()->id, first);
    turn();
    view.undoButton()->click();
    EXPECT_FALSE(world.store->recentChangeRecoveryPrompt());
    EXPECT_DOUBLE_EQ(world.store->colorAdjustment(testing::ControlWorld::kDisplay).redGamma, 1.2);
    turn();
    EXPECT_TRUE(view.isHidden());
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

// The undo and keep titles keep the banner's own room beside them (6 and 4
// points, 3 and 2 in the panel; 2 above and below), not a push button's, and
// the buttons are never lower than the text size's accessible height.
TEST_F(PromptTest, TheButtonsKeepTheBannersOwnInsetsAndTheAccessibleHeight) {
    for (bool compact : {false, true}) {
        for (auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
            world.theme.setTextSize(size);
            RecentChangePromptView view(*world.context, compact);
            const auto expectInsets = [&](QPushButton* button, int horizontal) {
                const QFontMetrics metrics(button->font());
                const QSize label = metrics.size(Qt::TextShowMnemonic, button->text());
                EXPECT_EQ(button->sizeHint().width(), label.width() + 2 * horizontal + 2)
                    << compact << button->text().toStdString();
                EXPECT_EQ(
                    button->sizeHint().height(),
                    std::max(label.height() + 2 * 2 + 2, world.theme.accessibleButtonMinHeight()));
            };
            expectInsets(view.undoButton(), compact ? 3 : 6);
            expectInsets(view.keepButton(), compact ? 2 : 4);
            EXPECT_GE(view.undoButton()->sizeHint().height(),
                      size == QuorvaneTextSize::standard ? 30 : 46);
        }
    }
}

TEST_F(PromptTest, TicksFallOnWholeSecondsAfterCreationAndStopAtZero) {
    RecentChangePromptView view(*world.context, false);
    view.setClock([this] { return now; });
    change(1.2);
    setNow(2.3);
    view.refresh();
    EXPECT_EQ(view.tickInterval(), 700);
    setNow(7.95);
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 1);
    EXPECT_EQ(view.tickInterval(), 50);
    setNow(8.0);
    view.refresh();
    EXPECT_EQ(view.tickInterval(), 0);
}

TEST_F(PromptTest, ANewerPromptRestartsTheCountdownAndCompactHidesTheTargetLine) {
    RecentChangePromptView view(*world.context, true);
    view.setClock([this] { return now; });
    change(1.2);
    setNow(6.5);
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 2);
    change(1.3);
    setNow(0.2);
    turn();
    EXPECT_EQ(view.shownSeconds(), 8);
    for (auto* label : view.findChildren<QLabel*>()) {
        if (label->text().startsWith(QStringLiteral("대상:"))) {
            EXPECT_TRUE(label->isHidden());
        }
    }
}

// The banner's icon is drawn as large as its 22-point (17 in the panel) box:
// its circle spans the box, not a smaller square inset within it.
TEST_F(PromptTest, TheIconFillsItsBox) {
    change(1.2);
    for (bool compact : {false, true}) {
        RecentChangePromptView view(*world.context, compact);
        view.resize(520, view.heightForWidth(520));
        view.show();
        turn();
        auto* icon = view.findChild<SymbolImage*>();
        ASSERT_NE(icon, nullptr);
        const QRect box = testing::boxIn(&view, icon);
        EXPECT_EQ(box.height(), compact ? 17 : 22);
        const QRect ink = testing::inkBounds(view.grab().toImage(), box.adjusted(-2, -2, 2, 2));
        // The filled circle of the symbol is 0.85 of its square.
        EXPECT_GE(ink.height(), box.height() * 0.78) << compact;
        EXPECT_GE(ink.width(), box.width() * 0.78) << compact;
    }
}

// In the panel's compact banner the symbol is drawn one point below the top
// of the copy beside it; in the form's banner level with it.
TEST_F(PromptTest, TheCompactIconStandsOnePointBelowTheCopysTop) {
    change(1.2);
    for (bool compact : {false, true}) {
        SCOPED_TRACE(compact);
        RecentChangePromptView view(*world.context, compact);
        view.resize(520, view.heightForWidth(520));
        view.show();
        turn();
        auto* icon = view.findChild<SymbolImage*>();
        QWidget* heading = nullptr;  // the heading's line, the top of the copy
        for (auto* label : view.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("최근 변경 복구"))
                heading = label->parentWidget();
        ASSERT_TRUE(icon && heading);
        const QRect box = testing::boxIn(&view, icon);
        const QRect copyTop = testing::boxIn(&view, heading);
        EXPECT_EQ(box.top() - copyTop.top(), compact ? 1 : 0);
        // The drawn circle moves with its box.
        const QRect ink = testing::inkBounds(view.grab().toImage(), box.adjusted(-2, -2, 2, 2));
        EXPECT_NEAR(ink.top() - copyTop.top(),
                    (compact ? 1 : 0) + (box.height() - ink.height()) / 2, 1);
    }
}

// Every text of the banner (its heading, title, secondary message and target
// line, the countdown on its pill) and its symbol read at 4.5:1 on the
// banner's warning wash over the window, in either scheme; the wash is the
// prompt accent at 10 % in light and 16 % in dark.
TEST_F(PromptTest, EveryTextReadsOnTheBannersWashInBothSchemes) {
    change(1.2);
    RecentChangePromptView view(*world.context, false);
    view.setClock([this] { return now; });
    setNow(0);
    view.refresh();
    view.resize(520, view.heightForWidth(520));
    view.show();
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        world.theme.setAppearance(appearance);
        turn();
        const QImage picture = view.grab().toImage();
        const ColorScheme scheme = world.theme.scheme();
        const QColor wash =
            toQColor(laidOver({ColorRole::warning, bySchemePair(scheme, 0.10, 0.16)}, scheme,
                              colorValue(ColorRole::windowBackground, scheme)));
        EXPECT_LE(testing::channelDistance(
                      testing::groundOf(picture, view.rect().adjusted(13, 11, -13, -11)), wash),
                  1)
            << static_cast<int>(appearance);
        auto* icon = view.findChild<SymbolImage*>();
        ASSERT_NE(icon, nullptr);
        EXPECT_GE(testing::inkContrast(picture, testing::boxIn(&view, icon).adjusted(-2, -2, 2, 2)),
                  4.5)
            << static_cast<int>(appearance) << " symbol";
        int texts = 0;
        for (auto* label : view.findChildren<QLabel*>()) {
            if (!label->isVisible() || label->text().isEmpty())
                continue;
            ++texts;
            EXPECT_GE(testing::inkContrast(picture, testing::boxIn(&view, label)), 4.5)
                << static_cast<int>(appearance) << " " << label->text().toStdString();
        }
        EXPECT_GE(texts, 4);
        auto* pill = view.findChild<StatusPill*>();
        ASSERT_NE(pill, nullptr);
        const int cap = pill->height() / 2;
        EXPECT_GE(
            testing::inkContrast(picture, testing::boxIn(&view, pill).adjusted(cap, 2, -cap, -2)),
            4.5)
            << static_cast<int>(appearance) << " countdown";
    }
}

TEST(AppearanceSwitcherTest, NarrowCardsPutTheLabelAboveAndCompactShowsTitlesOnlyWhenVeryLarge) {
    testing::ControlWorld world;
    world.theme.setTextSize(QuorvaneTextSize::extraLarge);
    AppearanceSwitcher switcher(*world.context, true, true, AppearanceSwitcher::Chrome::panel);
    switcher.show();
    QAbstractButton* option = switcher.optionButton(QuorvaneAppearance::light);
    const int iconOnly = option->sizeHint().width();
    world.theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GT(option->sizeHint().width(), iconOnly * 2);
    auto* fit = switcher.findChild<FitToWidth*>();
    ASSERT_NE(fit, nullptr);
    EXPECT_EQ(fit->arrangementFor(fit->sizeHint().width()), FitArrangement::horizontal);
    EXPECT_EQ(fit->arrangementFor(fit->sizeHint().width() - 1), FitArrangement::vertical);
}

// In the header bar the label's symbol (the base font's size) is the larger
// one beside the options' symbols (11 points × the text scale).
TEST(AppearanceSwitcherTest, TheToolbarLabelSymbolIsLargerThanTheOptionSymbols) {
    for (auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        testing::ControlWorld world;
        world.theme.setTextSize(size);
        world.store->setAppearance(QuorvaneAppearance::light);
        AppearanceSwitcher switcher(*world.context, false, false,
                                    AppearanceSwitcher::Chrome::toolbar);
        switcher.resize(switcher.sizeHint());
        switcher.show();
        turn();
        const QImage picture = switcher.grab().toImage();
        auto* label = switcher.findChild<SymbolImage*>();
        ASSERT_NE(label, nullptr);
        const QRect labelInk = testing::inkBounds(picture, testing::boxIn(&switcher, label));
        // The unchosen option has no capsule in the header bar: what stands
        // out before its title is its symbol.
        QAbstractButton* button = switcher.optionButton(QuorvaneAppearance::dark);
        auto* title = button->findChild<QWidget*>();
        ASSERT_NE(title, nullptr);
        const QRect box = testing::boxIn(&switcher, button);
        const QRect optionInk =
            testing::inkBounds(picture, QRect(box.left(), box.top(), title->x() - 1, box.height()));
        EXPECT_GT(labelInk.height(), optionInk.height() + 1) << static_cast<int>(size);
        EXPECT_GT(labelInk.width(), optionInk.width() + 1) << static_cast<int>(size);
    }
}

// The countdown reads the clock of the store's timers, not the machine's: a
// store whose time stands still (the screenshot program's) shows the same
// number however long a picture takes to draw, and the wall clock set ahead
// or back moves none of its seconds.
TEST_F(PromptTest, TheCountdownReadsTheStoresClock) {
    world.scheduler->setWallNow(Date(std::chrono::seconds(978'307'200)));  // 1 January 2001
    RecentChangePromptView view(*world.context, false);
    change(1.2);
    turn();
    EXPECT_EQ(view.shownSeconds(), 8);
    world.scheduler->setWallNow(world.scheduler->wallNow() + std::chrono::hours(1));
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 8);
    world.scheduler->advance(std::chrono::milliseconds(2500));
    world.scheduler->setWallNow(world.scheduler->wallNow() - std::chrono::hours(2));
    view.refresh();
    EXPECT_EQ(view.shownSeconds(), 6);
}

}  // namespace
}  // namespace quorvane
