// The start page's numbered steps: side by side while they fit, the button
// under the text otherwise; the badge widens only at the largest text size.

#include "views/main_window/beginner_guidance.hpp"

#include <gtest/gtest.h>

#include <QApplication>

#include "views/design/surface_panel.hpp"
#include "views/design/wrapping_label.hpp"

#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/support/symbol_ink.hpp"

namespace quorvane {
namespace {

// The callout's shield is drawn at the surrounding text's size, not its
// title's, at every text size.
TEST(BeginnerCalloutTest, TheShieldTakesTheSurroundingTextSizeNotTheTitles) {
    Theme theme(false);
    BeginnerCallout callout(theme, QStringLiteral("처음이라면"), QStringLiteral("설명"));
    auto* shield = callout.findChild<SymbolImage*>();
    ASSERT_NE(shield, nullptr);
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        SCOPED_TRACE(static_cast<int>(size));
        theme.setTextSize(size);
        const int surrounding = testing::symbolInkSize("checkmark.shield", theme.baseFont());
        ASSERT_NE(surrounding, testing::symbolInkSize(
                                   "checkmark.shield",
                                   theme.font(QuorvaneFontStyle::subheadline, QFont::DemiBold)));
        EXPECT_EQ(testing::inkSizeOf(shield), surrounding);
    }
}

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

// Stacked, the badge and the copy keep the narrow line's own spacing and
// both start at its top; the card keeps 6 points more above the step inside.
TEST(BeginnerStepRowTest, NarrowRowsKeepBadgeAndCopyTopAlignedTenApartInsideTheCard) {
    Theme theme(false);
    BeginnerStepRow row(theme, QStringLiteral("1"), QStringLiteral("화면 색감부터 바꿔보세요"),
                        QStringLiteral("밝기와 색온도를 앱 안에서만 조정합니다. 설명이 길면 "
                                       "여러 줄로 이어집니다."),
                        QStringLiteral("화면 색감 열기"), [] {});
    row.resize(260, row.heightForWidth(260));
    row.show();
    QApplication::processEvents();
    ASSERT_EQ(row.arrangement()->arrangement(), FitArrangement::vertical);
    auto* badge = row.findChild<StepNumberBadge*>();
    auto* panel = row.findChild<SurfacePanel*>();
    ASSERT_TRUE(badge && panel);
    QWidget* copy = nullptr;
    for (auto* label : row.findChildren<WrappingLabel*>()) {
        if (label->text() == QStringLiteral("화면 색감부터 바꿔보세요"))
            copy = label->parentWidget();
    }
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->x() - (badge->x() + badge->width()), 10);
    EXPECT_EQ(copy->y(), badge->y());
    EXPECT_GT(copy->height(), badge->height());
    // Panel padding 12, then the step's own 6; the card starts at the row's top.
    EXPECT_EQ(panel->y(), 0);
    EXPECT_EQ(badge->mapTo(panel, QPoint(0, 0)).y(), 12 + 6);
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
