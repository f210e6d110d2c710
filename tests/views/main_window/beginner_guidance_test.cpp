// The start page's numbered steps: side by side while they fit, the button
// under the text otherwise; the badge widens only at the largest text size.

#include "views/main_window/beginner_guidance.hpp"

#include <gtest/gtest.h>

#include <QApplication>

#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/theme.hpp"

namespace quorvane {
namespace {

TEST(BeginnerStepRowTest, NarrowRowsPutTheButtonUnderTheTextAndItStillRunsOncePerPress) {
    Theme theme(false);
    int runs = 0;
    BeginnerStepRow row(theme, QStringLiteral("1"), QStringLiteral("화면 색감부터 바꿔보세요"),
                        QStringLiteral("밝기와 색온도를 앱 안에서만 조정합니다."),
                        QStringLiteral("화면 색감 열기"), [&] { ++runs; });
    EXPECT_EQ(row.arrangement()->arrangementFor(900), FitArrangement::horizontal);
    EXPECT_EQ(row.arrangement()->arrangementFor(260), FitArrangement::vertical);

    row.resize(260, row.heightForWidth(260));
    row.show();
    QApplication::processEvents();
    row.button()->click();
    row.button()->click();
    EXPECT_EQ(runs, 2);
}

TEST(BeginnerStepRowTest, BadgeWidensOnlyAtTheLargestTextSize) {
    Theme theme(false);
    BeginnerStepRow row(theme, QStringLiteral("2"), QStringLiteral("저장"), QStringLiteral("설명"),
                        QStringLiteral("저장하기"), [] {});
    auto* badge = row.findChild<StepNumberBadge*>();
    ASSERT_TRUE(badge);
    theme.setTextSize(QuorvaneTextSize::extraLarge);
    EXPECT_EQ(badge->width(), 44);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_EQ(badge->width(), 56);
    EXPECT_GE(badge->minimumHeight(), 28);
}

}  // namespace
}  // namespace quorvane
