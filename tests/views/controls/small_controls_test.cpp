#include <gtest/gtest.h>

#include <QTest>

#include "views/controls/ddc_badge_view.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/design/theme.hpp"

namespace quorvane {
namespace {

TEST(NudgeButtonTest, ClickRunsTheActionOnceAndDisabledRunsNothing) {
    Theme theme(false);
    int runs = 0;
    NudgeButton button(theme, "대비", QuorvaneAdjustmentNudgeDirection::decrement, 0.05,
                       [&] { ++runs; });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(button.toolTip(), QStringLiteral("대비 조금 낮추기"));
    EXPECT_EQ(button.accessibleName(), button.toolTip());
    theme.setTextSize(QuorvaneTextSize::standard);
    EXPECT_EQ(button.sizeHint(), QSize(30, 30));
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_EQ(button.sizeHint(), QSize(44, 44));
}

TEST(HardwareWriteTagTest, KeepsItsFullWidthAndGrowsWithTheTextSize) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::standard);
    HardwareWriteTag tag(theme, true);
    const QSize standard = tag.sizeHint();
    EXPECT_EQ(tag.minimumSizeHint(), standard);
    EXPECT_EQ(tag.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GT(tag.sizeHint().width(), standard.width());
    EXPECT_EQ(tag.accessibleName(), QStringLiteral("모니터 자체 설정에 직접 적용"));
}

TEST(DDCBadgeViewTest, SpinnerReplacesTheSymbolWhileCheckingAndDetailNeedsBoth) {
    Theme theme(false);
    DDCBadgeView view(theme, true);
    view.show();
    view.setBadge({DDCCapabilityBadgeKind::checking, "확인 중", std::nullopt,
                   "arrow.triangle.2.circlepath", DDCCapabilityBadgeTone::secondary});
    EXPECT_TRUE(view.showsSpinner());
    EXPECT_FALSE(view.showsDetail());
    view.setBadge({DDCCapabilityBadgeKind::confirmed, "직접 조정 가능", "밝기·대비",
                   "checkmark.circle", DDCCapabilityBadgeTone::green});
    EXPECT_FALSE(view.showsSpinner());
    EXPECT_TRUE(view.showsDetail());
    DDCBadgeView compact(theme, false);
    compact.setBadge(view.badge());
    EXPECT_FALSE(compact.showsDetail());
}

}  // namespace
}  // namespace quorvane
