#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <set>

#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/card_grid.hpp"
#include "views/detail_form/detail_surface_frame.hpp"
#include "views/detail_form/detail_form_fixture.hpp"
#include "views/detail_form/recent_change_prompt_slot.hpp"
#include "views/detail_form/slider_row_views.hpp"
#include "views/detail_form/step_card_button.hpp"
#include "views/support/text_ink_baseline.hpp"

namespace quorvane::testing {
namespace {

TEST(CardGridTest, KeepsItsColumnsWhileTheyFitAndFallsBackToOne) {
    CardGrid grid(2, 16);
    for (int width : {300, 200, 250}) {
        auto* card = new QLabel;
        card->setMinimumWidth(width);
        grid.addCard(card);
    }
    // Two columns need twice the widest card's least width plus the gap.
    EXPECT_EQ(grid.columnsFor(2 * 300 + 16), 2);
    EXPECT_EQ(grid.columnsFor(2 * 300 + 15), 1);
    EXPECT_LE(grid.minimumSizeHint().width(), 300);
    grid.show();
    grid.resize(500, 800);
    EXPECT_EQ(grid.columnsShown(), 1);
    grid.resize(900, 800);
    EXPECT_EQ(grid.columnsShown(), 2);
}

TEST_F(DetailFormTest, MonitorRowsAppearWithTheProbeAndAreDisabledWhileAWriteIsPending) {
    start();
    show(MainWindowSection::hardware);
    EXPECT_TRUE(visible<MonitorSliderRowView>().isEmpty());
    buttonTitled(QStringLiteral("가능 여부 확인"))->click();
    turn();
    EXPECT_FALSE(buttonTitled(QStringLiteral("확인 중…"))->isEnabled());
    monitorLink->answerProbe(
        1, {{DDCVCPCode::contrast, {40, 100}}, {DDCVCPCode::inputSource, {17, 27}}});
    turn();
    auto rows = visible<MonitorSliderRowView>();
    ASSERT_EQ(rows.size(), 1);  // contrast only; the input source is a menu
    auto* input = buttonTitled(QStringLiteral("현재: HDMI-1"));
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(rows[0]->isEnabled());

    // Choosing an input writes it and holds every monitor control until the
    // monitor answers.
    auto* menu = qobject_cast<QPushButton*>(input)->menu();
    ASSERT_NE(menu, nullptr);
    menu->actions().last()->trigger();
    turn();
    ASSERT_EQ(world.writeQueue->held.size(), 1u);
    EXPECT_EQ(world.writeQueue->held[0].first.rawValue, 27);
    EXPECT_FALSE(input->isEnabled());
    EXPECT_FALSE(visible<MonitorSliderRowView>()[0]->findChild<QWidget*>()->isEnabled());
    world.writeQueue->answerApplied(27, 27);
    turn();
    EXPECT_TRUE(buttonTitled(QStringLiteral("현재: USB-C"))->isEnabled());
}

TEST_F(DetailFormTest, GroupScopeAllDisplaysReachesTheStoreAsNone) {
    start();
    store().saveDisplayGroup("책상");
    store().setBrightnessSyncGroupID(store().customDisplayGroups()[0].id);
    show(MainWindowSection::groups);
    auto* scope = visible<QComboBox>().value(0);
    ASSERT_NE(scope, nullptr);
    EXPECT_EQ(scope->currentText(), QStringLiteral("책상"));
    EXPECT_NE(buttonTitled(QStringLiteral("삭제…")), nullptr);
    scope->setCurrentIndex(0);
    emit scope->activated(0);
    turn();
    EXPECT_EQ(store().brightnessSyncGroupID(), std::nullopt);
    EXPECT_EQ(store().statusMessage(), "밝기 동기화 범위: 모든 디스플레이");
}

TEST_F(DetailFormTest, TheUndoPromptLeadsEveryPageOnlyWhileTheStoreHoldsOne) {
    start();
    for (const auto section : {MainWindowSection::start, MainWindowSection::color,
                               MainWindowSection::presets, MainWindowSection::recovery}) {
        show(section);
        EXPECT_TRUE(visible<RecentChangePromptSlot>().isEmpty()) << caseName(section);
    }
    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.gamma = 1.3; });
    turn();
    for (const auto section : {MainWindowSection::start, MainWindowSection::color,
                               MainWindowSection::presets, MainWindowSection::recovery}) {
        show(section);
        const auto prompts = visible<RecentChangePromptSlot>();
        ASSERT_EQ(prompts.size(), 1) << caseName(section);
        // First on the page: nothing of the page lies above it.
        const int top = prompts[0]->mapTo(form, QPoint(0, 0)).y();
        for (auto* card : visible<SurfacePanel>())
            EXPECT_GE(card->mapTo(form, QPoint(0, 0)).y(), top) << caseName(section);
    }
    store().clearRecentChangeRecoveryPrompt(std::nullopt);
    turn();
    EXPECT_TRUE(visible<RecentChangePromptSlot>().isEmpty());
}

// Counts the widgets of the prompt that came up as windows of their own.
struct StrayPromptWindows : QObject {
    int shown = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() &&
            (widget->inherits("quorvane::RecentChangePromptSlot") ||
             widget->inherits("quorvane::RecentChangePromptView")))
            ++shown;
        return false;
    }
};

TEST_F(DetailFormTest, APageBuiltWhileThePromptShowsNeverFlashesItAsAWindow) {
    start();
    store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.gamma = 1.3; });
    turn();
    StrayPromptWindows stray;
    qApp->installEventFilter(&stray);
    for (const auto section :
         {MainWindowSection::color, MainWindowSection::presets, MainWindowSection::start}) {
        show(section);
        EXPECT_EQ(visible<RecentChangePromptSlot>().size(), 1) << caseName(section);
    }
    qApp->removeEventFilter(&stray);
    EXPECT_EQ(stray.shown, 0);
}

// The step cards' action rows ("색감 열기" and so on) are the accent, title
// and chevron, in both schemes.
TEST_F(DetailFormTest, StepCardActionRowsAreTheAccentThroughout) {
    start();
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        theme.setAppearance(appearance);
        turn();
        const QColor accent = theme.color(ColorRole::accent);
        const auto cards = visible<StepCardButton>();
        ASSERT_EQ(cards.size(), 3u);
        for (auto* card : cards) {
            auto* title = card->findChild<QLabel*>(QStringLiteral("stepActionTitle"));
            ASSERT_TRUE(title);
            EXPECT_EQ(title->palette().color(title->foregroundRole()), accent)
                << title->text().toStdString();
            auto* chevron = card->findChild<SymbolImage*>();
            ASSERT_TRUE(chevron);
            EXPECT_EQ(chevron->color(), accent);
        }
    }
}

// The colour page's header: tiles and preview card keep 10 points inside;
// the card is 188–224 wide (its ideal 204 beside the copy, as wide as it
// may be under it, unbounded at veryLarge); a long name keeps to two lines;
// the pictogram is a drawing of the card, nothing a screen reader meets.
TEST_F(DetailFormTest, TheColourHeaderPadsTenAndKeepsThePreviewCardWithinItsWidths) {
    start();
    store().setDisplayAlias("오후 네 시 이후 눈이 편한 따뜻한 문서 작업용 왼쪽 모니터 이름이 아주 "
                            "길어서 두 줄을 넘기는 경우",
                            1);
    show(MainWindowSection::color);
    auto* card = form->findChild<QWidget*>(QStringLiteral("previewCard"));
    ASSERT_TRUE(card);
    EXPECT_EQ(card->width(), 224);
    QList<WrappingLabel*> texts;
    for (auto* child : card->findChildren<QWidget*>()) {
        if (auto* text = qobject_cast<WrappingLabel*>(child))
            texts.push_back(text);
        else
            EXPECT_TRUE(qobject_cast<DetailSurfaceFrame*>(child) ||
                        qobject_cast<QLabel*>(child))
                << child->metaObject()->className();
    }
    ASSERT_GE(texts.size(), 2);
    WrappingLabel* name = texts.front();
    // Padding 10, the 43-point pictogram, then 9 points to the name.
    EXPECT_EQ(name->mapTo(card, QPoint(0, 0)), QPoint(10 + 43 + 9, 10));
    const QFont fitted = name->fittedFont(name->width());
    EXPECT_GE(fitted.pointSizeF(), name->font().pointSizeF() * 0.86 - 0.01);
    EXPECT_LT(name->height(), 3 * QFontMetrics(name->font()).lineSpacing());

    // A metric tile's title starts 10 points inside the tile.
    for (auto* label : visible<WrappingLabel>()) {
        if (label->text() == QStringLiteral("색온도") &&
            qobject_cast<DetailSurfaceFrame*>(label->parentWidget())) {
            EXPECT_EQ(label->pos(), QPoint(10, 10));
        }
    }

    window.resize(1800, 900);
    form->resize(1800, 900);
    turn();
    EXPECT_EQ(card->width(), 204);

    theme.setTextSize(QuorvaneTextSize::veryLarge);
    window.resize(640, 900);
    form->resize(640, 900);
    turn();
    EXPECT_EQ(card->width(), card->parentWidget()->width());
}

// A long mode label takes a second line in its status tile at full size,
// so its end (the refresh rate) stays on screen instead of being cut.
TEST_F(DetailFormTest, ALongModeLabelTakesTwoLinesInItsStatusTile) {
    auto display = externalDisplay(1, "Studio", 1001);
    display.currentMode->pixelWidth = 3840;
    display.currentMode->pixelHeight = 2160;
    start({display});
    show(MainWindowSection::color);
    WrappingLabel* value = nullptr;
    for (auto* label : visible<WrappingLabel>()) {
        const QWidget* tile = label->parentWidget();
        if (label->text() == QString::fromStdString(display.currentMode->label()) &&
            qobject_cast<const DetailSurfaceFrame*>(tile) &&
            tile->objectName() != QStringLiteral("previewCard"))
            value = label;
    }
    ASSERT_TRUE(value);
    const QFontMetrics metrics(value->font());
    ASSERT_GT(metrics.horizontalAdvance(value->text()), value->width());
    const QRect ink = inkBounds(window.grab().toImage(), boxIn(&window, value));
    EXPECT_GT(ink.height(), metrics.lineSpacing());
    EXPECT_DOUBLE_EQ(value->fittedFont(value->width()).pointSizeF(), value->font().pointSizeF());
}

// The overview card's title and its badge stand on one baseline as drawn,
// a Latin name beside a Hangul badge, at the smallest and largest text.
TEST_F(DetailFormTest, TheOverviewTitleAndBadgeStandOnOneBaseline) {
    start();
    for (auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        theme.setTextSize(size);
        window.resize(900, 900);
        form->resize(900, 900);
        show(MainWindowSection::profile);
        auto* badge = visible<StatusPill>().value(0);
        ASSERT_TRUE(badge);
        auto* title = qobject_cast<WrappingLabel*>(badge->parentWidget()->findChild<QLabel*>());
        ASSERT_TRUE(title && title->text() == QStringLiteral("Studio"));
        const QImage picture = window.grab().toImage();
        EXPECT_NEAR(inkBaseline(&window, picture, badge, badge->font(), badge->text(),
                                TextPart::capsuleAfterSymbol),
                    inkBaseline(&window, picture, title, title->font(), title->text()), 1.0)
            << caseName(size);
    }
}

TEST_F(DetailFormTest, OnlyVeryLargeStacksTheStepCards) {
    start();
    auto rowsOfCards = [this] {
        std::set<int> tops;
        for (auto* card : visible<StepCardButton>())
            tops.insert(card->mapTo(form, QPoint(0, 0)).y());
        return tops.size();
    };
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::extraLarge}) {
        theme.setTextSize(size);
        turn();
        EXPECT_EQ(rowsOfCards(), 1u) << caseName(size);
    }
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    turn();
    EXPECT_EQ(rowsOfCards(), 3u);
}

}  // namespace
}  // namespace quorvane::testing
