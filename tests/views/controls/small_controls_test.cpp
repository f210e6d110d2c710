#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include "views/controls/ddc_badge_view.hpp"
#include "views/controls/hardware_write_tag.hpp"
#include "views/controls/nudge_button.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/support/ink_contrast.hpp"

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

// A monitor's badge title in green, orange or red reads at 4.5:1 on the card
// it stands on, in either scheme, as drawn.
TEST(DDCBadgeViewTest, TitlesInEveryToneReadOnTheirCardInBothSchemes) {
    Theme theme(false);
    QWidget window;
    theme.applyToWindow(&window);
    auto* card = new SurfacePanel(theme, SurfacePanel::Kind::soft, 16, 12, &window);
    auto* view = new DDCBadgeView(theme, false, card);
    (new QVBoxLayout(card))->addWidget(view);
    (new QVBoxLayout(&window))->addWidget(card);
    window.resize(320, 120);
    window.show();
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        theme.setAppearance(appearance);
        for (const auto tone : {DDCCapabilityBadgeTone::green, DDCCapabilityBadgeTone::orange,
                                DDCCapabilityBadgeTone::red}) {
            view->setBadge({DDCCapabilityBadgeKind::unstable, "응답이 불안정함", std::nullopt,
                            "exclamationmark.triangle", tone});
            QCoreApplication::processEvents();
            const QImage picture = window.grab().toImage();
            QLabel* title = nullptr;
            for (auto* label : view->findChildren<QLabel*>())
                if (label->text() == QStringLiteral("응답이 불안정함"))
                    title = label;
            ASSERT_NE(title, nullptr);
            EXPECT_GE(testing::inkContrast(picture, testing::boxIn(&window, title)), 4.5)
                << static_cast<int>(appearance) << " tone " << static_cast<int>(tone);
        }
    }
}

}  // namespace
}  // namespace quorvane
