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
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(switcher.optionButton(QuorvaneAppearance::light));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("선택됨"));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("화면 모드: 라이트"));
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
    Date now{};

    void change(double gamma) {
        world.store->updateColorAdjustment(
            testing::ControlWorld::kDisplay,
            [gamma](ColorAdjustment& value) { value.redGamma = gamma; });
    }
    void setNow(double secondsAfterCreation) {
        const auto& prompt = world.store->recentChangeRecoveryPrompt();
        now = prompt->createdAt + std::chrono::duration_cast<Date::duration>(
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
    world.scheduler->setWallNow(now);
    change(1.3);  // created "now"
    setNow(0.2);
    turn();
    EXPECT_EQ(view.shownSeconds(), 8);
    for (auto* label : view.findChildren<QLabel*>()) {
        if (label->text().startsWith(QStringLiteral("대상:"))) {
            EXPECT_TRUE(label->isHidden());
        }
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

}  // namespace
}  // namespace quorvane
