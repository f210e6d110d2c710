#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "services/diagnostics/quorvane_display_support_summary_builder.hpp"
#include "views/controls/health_check_wizard.hpp"
#include "views/controls/recovery_journal_view.hpp"
#include "views/controls/support_card.hpp"
#include "views/design/disclosure_button.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/support/ink.hpp"

namespace quorvane {
namespace {

QuorvaneSupportAction probe(bool enabled, std::optional<std::string> reason = std::nullopt) {
    return {QuorvaneSupportActionKind::probeDDC, "모니터 확인", std::nullopt, enabled,
            std::move(reason)};
}

QuorvaneDisplaySupportSummary summaryWith(std::vector<QuorvaneSupportAction> actions) {
    QuorvaneDisplaySupportSummary summary;
    summary.title = "작업실 모니터";
    summary.subtitle = "외장 디스플레이";
    summary.overallStatus = QuorvaneSupportStatus::limited;
    summary.overallMessage = "앱 색감은 됩니다.";
    QuorvaneSupportCapabilityRow row;
    row.id = "monitor-direct-control";
    row.title = "모니터 직접 조정";
    row.detail = "확인이 필요합니다.";
    row.status = QuorvaneSupportStatus::needsCheck;
    row.actions = std::move(actions);
    summary.capabilities = {row};
    summary.technicalDetails = {"vendor 4268, model 41007"};
    return summary;
}

QPushButton* buttonTitled(QWidget& root, const QString& title) {
    for (auto* button : root.findChildren<QPushButton*>()) {
        if (button->text() == title && button->isVisibleTo(&root))
            return button;
    }
    return nullptr;
}

bool showsText(QWidget& root, const QString& text) {
    for (auto* label : root.findChildren<QLabel*>()) {
        if (label->text() == text && label->isVisibleTo(&root))
            return true;
    }
    return false;
}

// Shows the wizard `width` wide and as tall as it needs; the shown label
// with `text`, if any.
const WrappingLabel* shownAtWidth(QWidget& wizard, int width, const QString& text) {
    wizard.resize(width, 600);
    wizard.show();
    QCoreApplication::processEvents();
    wizard.resize(width, std::max(600, wizard.heightForWidth(width)));
    QCoreApplication::processEvents();
    const WrappingLabel* found = nullptr;
    for (auto* label : wizard.findChildren<WrappingLabel*>())
        if (label->isVisibleTo(&wizard) && label->text() == text)
            found = label;
    return found;
}

TEST(HealthCheckWizardTest, EnabledActionReachesTheHostOnceAndDisabledShowsItsReason) {
    Theme theme(false);
    std::vector<QuorvaneSupportAction> received;
    auto enabled = probe(true, "쓰이지 않는 사유");
    HealthCheckWizard wizard(
        theme, summaryWith({enabled}),
        [&](const QuorvaneSupportAction& action) { received.push_back(action); });
    wizard.resize(700, 800);
    wizard.show();
    QCoreApplication::processEvents();
    QPushButton* button = buttonTitled(wizard, QStringLiteral("모니터 확인"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received.front(), enabled);
    // An enabled action never prints its reason; its tooltip uses it.
    EXPECT_FALSE(showsText(wizard, QStringLiteral("쓰이지 않는 사유")));
    EXPECT_EQ(button->toolTip(), QStringLiteral("쓰이지 않는 사유"));

    wizard.setSummary(summaryWith({probe(false, "모니터가 바쁩니다")}));
    QCoreApplication::processEvents();
    button = buttonTitled(wizard, QStringLiteral("모니터 확인"));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_TRUE(showsText(wizard, QStringLiteral("모니터가 바쁩니다")));
}

TEST(HealthCheckWizardTest, TechnicalDetailsStartCollapsedAndStayOpenAcrossNewSummaries) {
    Theme theme(false);
    HealthCheckWizard wizard(theme, summaryWith({}), nullptr);
    wizard.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(showsText(wizard, QStringLiteral("• vendor 4268, model 41007")));
    auto* toggle = wizard.findChild<DisclosureButton*>(QStringLiteral("technicalDetailsToggle"));
    ASSERT_NE(toggle, nullptr);
    toggle->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(showsText(wizard, QStringLiteral("• vendor 4268, model 41007")));
    auto next = summaryWith({});
    next.technicalDetails = {};
    wizard.setSummary(next);
    QCoreApplication::processEvents();
    EXPECT_TRUE(wizard.technicalDetailsExpanded());
    EXPECT_TRUE(showsText(
        wizard, QStringLiteral("앱이 잘 안 될 때 복사해 볼 정보입니다. 평소에는 접어 두세요.")));
    EXPECT_TRUE(showsText(wizard, QStringLiteral("되는 조정")));
}

// The disclosure and a new summary change the wizard in place: the control
// the user pressed stays the same widget, with the focus.
TEST(HealthCheckWizardTest, TheDisclosureAndANewSummaryKeepTheFocusedControl) {
    Theme theme(false);
    HealthCheckWizard wizard(theme, summaryWith({probe(true)}), nullptr);
    wizard.show();
    QCoreApplication::processEvents();
    QPointer<DisclosureButton> toggle =
        wizard.findChild<DisclosureButton*>(QStringLiteral("technicalDetailsToggle"));
    ASSERT_TRUE(toggle);
    toggle->setFocus(Qt::TabFocusReason);
    QTest::keyClick(toggle, Qt::Key_Space);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(wizard.technicalDetailsExpanded());
    ASSERT_TRUE(toggle);
    EXPECT_EQ(wizard.focusWidget(), toggle.data());

    QPointer<QPushButton> button = buttonTitled(wizard, QStringLiteral("모니터 확인"));
    ASSERT_TRUE(button);
    button->setFocus(Qt::TabFocusReason);
    auto next = summaryWith(
        {{QuorvaneSupportActionKind::probeDDC, "다시 확인", std::nullopt, true, std::nullopt}});
    next.capabilities[0].status = QuorvaneSupportStatus::available;
    next.overallMessage = "모니터가 응답했습니다.";
    wizard.setSummary(next);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->text(), QStringLiteral("다시 확인"));
    EXPECT_EQ(wizard.focusWidget(), button.data());
    EXPECT_TRUE(showsText(wizard, QStringLiteral("모니터가 응답했습니다.")));
}

TEST(HealthCheckWizardTest, TheDetailsChevronGrowsWithTheText) {
    Theme theme(false);
    HealthCheckWizard wizard(theme, summaryWith({}), nullptr);
    const auto chevron = [&wizard] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* toggle =
            wizard.findChild<DisclosureButton*>(QStringLiteral("technicalDetailsToggle"));
        return toggle ? toggle->chevronSide() : 0;
    };
    const int standard = chevron();
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GE(chevron(), QFontMetrics(theme.baseFont()).capHeight());
    EXPECT_GT(chevron(), standard);
}

// Side by side, a capability's status label keeps to its own width and the
// copy begins 8 points after it, however wide the row is.
TEST(HealthCheckWizardTest, WideCapabilityRowsKeepStatusAndCopyEightApart) {
    Theme theme(false);
    HealthCheckWizard wizard(theme, summaryWith({}), nullptr);
    for (const int width : {520, 900}) {
        wizard.resize(width, wizard.heightForWidth(width) > 0 ? wizard.heightForWidth(width) : 800);
        wizard.show();
        QCoreApplication::processEvents();
        QWidget* status = nullptr;
        QWidget* copy = nullptr;
        for (auto* label : wizard.findChildren<WrappingLabel*>()) {
            if (label->text() == QStringLiteral("확인 필요"))
                status = label->parentWidget();
            if (label->text() == QStringLiteral("모니터 직접 조정"))
                copy = label->parentWidget();
        }
        ASSERT_TRUE(status && copy);
        EXPECT_EQ(copy->x() - (status->x() + status->width()), 8) << width;
        EXPECT_EQ(copy->y(), status->y()) << width;
        // What is seen: from the status text's last ink to the title's first,
        // the gap is the 8 points and the glyphs' own side bearings, never
        // a share of the spare width.
        const QImage picture = wizard.grab().toImage();
        const QRect statusInk = testing::inkBounds(picture, testing::boxIn(&wizard, status));
        const QRect copyInk = testing::inkBounds(picture, testing::boxIn(&wizard, copy));
        ASSERT_FALSE(statusInk.isEmpty() || copyInk.isEmpty());
        const int gap = copyInk.left() - statusInk.right() - 1;
        EXPECT_GE(gap, 8) << width;
        EXPECT_LE(gap, 11) << width;
    }
}

TEST(SupportCardTest, HardwareButtonFollowsAnyOpenHardwareActionEvenDisabled) {
    Theme theme(false);
    int diagnostics = 0;
    int hardware = 0;
    SupportCard card(
        theme, summaryWith({probe(true)}), [&] { ++diagnostics; }, [&] { ++hardware; });
    EXPECT_EQ(card.hardwareButton(), nullptr);
    QPointer<QPushButton> details = card.detailsButton();
    details->click();
    EXPECT_EQ(diagnostics, 1);
    card.setSummary(summaryWith({probe(true),
                                 {QuorvaneSupportActionKind::openHardwareSection, "모니터 설정",
                                  std::nullopt, false, "아직"}}));
    // Changed in place: the button pressed a moment ago is still there.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(card.detailsButton(), details.data());
    ASSERT_NE(card.hardwareButton(), nullptr);
    EXPECT_TRUE(card.hardwareButton()->isEnabled());
    card.hardwareButton()->click();
    EXPECT_EQ(hardware, 1);
    EXPECT_EQ(diagnostics, 1);
}

QuorvaneRecoveryJournal journalOf(int count, std::string text = "요약") {
    QuorvaneRecoveryJournal journal;
    for (int i = 0; i < count; ++i) {
        QuorvaneRecoveryJournalEntry entry;
        entry.id = std::to_string(i);
        entry.status = QuorvaneRecoveryJournalStatus::partial;
        entry.actionTitle = "프리셋 적용";
        entry.summary = text;
        journal.entries.push_back(entry);
    }
    return journal;
}

TEST(RecoveryJournalViewTest, HundredsOfEntriesShowOnlyTheLimitAndLongTextsWrap) {
    Theme theme(false);
    RecoveryJournalView view(theme, false, 4);
    view.setJournal(journalOf(300, std::string(2000, 'W')));
    EXPECT_EQ(view.shownRows(), 4);
    view.resize(260, view.heightForWidth(260));
    view.show();
    QCoreApplication::processEvents();
    EXPECT_GT(view.heightForWidth(260), view.heightForWidth(900));
    for (auto* label : view.findChildren<WrappingLabel*>()) {
        if (label->isVisibleTo(&view)) {
            EXPECT_LE(label->mapTo(&view, QPoint(label->width(), 0)).x(), 260);
        }
    }
}

TEST(RecoveryJournalViewTest, StatusIconsGrowWithTheText) {
    Theme theme(false);
    RecoveryJournalView view(theme, false, 4);
    view.setJournal(journalOf(2));
    const auto smallestIcon = [&view] {
        // The rebuilt rows replace the old ones on the next turn.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int smallest = 1000;
        for (const auto* icon : view.findChildren<SymbolImage*>())
            smallest = std::min(smallest, icon->sizeHint().height());
        return smallest;
    };
    const int standard = smallestIcon();
    const double standardScale = theme.scale();
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GE(smallestIcon(), standard * theme.scale() / standardScale - 1);
}

// How many pixels of `picture` are drawn in `color` (give or take blending
// at the edges).
int pixelsOf(const QImage& picture, const QColor& color) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
                    std::abs(pixel.blue() - color.blue()) <=
                6) {
                ++count;
            }
        }
    }
    return count;
}

// A refused action must not pass for one that was merely skipped.
TEST(RecoveryJournalViewTest, ABlockedEntryReadsBlockedInTheDestructiveColour) {
    Theme theme(false);
    auto journal = journalOf(1);
    journal.entries[0].status = QuorvaneRecoveryJournalStatus::blocked;
    RecoveryJournalView view(theme, false, 4);
    view.setJournal(journal);
    view.resize(420, view.heightForWidth(420));
    view.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(showsText(view, QStringLiteral("차단됨")));
    const QImage picture = view.grab().toImage();
    // The octagon is a filled shape: a solid patch of the status colour.
    EXPECT_GE(pixelsOf(picture, theme.color(ColorRole::destructive)), 40);
}

TEST(RecoveryJournalViewTest, ZeroLimitShowsNeitherRowsNorEmptyText) {
    Theme theme(false);
    RecoveryJournalView view(theme, false, 0);
    view.setJournal(journalOf(3));
    EXPECT_EQ(view.shownRows(), 0);
    EXPECT_FALSE(
        showsText(view, QStringLiteral("아직 기록된 Quorvane 화면 색감 변경이 없습니다.")));
    EXPECT_TRUE(showsText(view, QStringLiteral("최근 결과")));
    RecoveryJournalView compact(theme, true, 4);
    EXPECT_TRUE(showsText(compact, QStringLiteral("최근 변경 기록 없음")));
    EXPECT_FALSE(showsText(compact, QStringLiteral("최근 결과")));
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

TEST(SupportCardTest, TheIconOnlyBadgeIsReadOutByItsLabel) {
    Theme theme(false);
    auto summary = summaryWith({});
    summary.overallStatus = QuorvaneSupportStatus::unavailable;
    SupportCard card(theme, summary, [] {});
    QWidget* badge = nullptr;
    for (auto* widget : card.findChildren<QWidget*>()) {
        if (widget->accessibleName() == QStringLiteral("사용 불가"))
            badge = widget;
    }
    ASSERT_NE(badge, nullptr);
    // Only the symbol is drawn: no visible label repeats the status.
    EXPECT_FALSE(showsText(card, QStringLiteral("사용 불가")));
}

TEST(HealthCheckWizardTest, AStepWithoutAnActionHasNoButtonAndEmptyListsKeepTheirHeadings) {
    Theme theme(false);
    QuorvaneDisplaySupportSummary summary;
    QuorvaneSupportWizardStep step;
    step.title = "3. 이 화면을 안정적으로 구분하는지 확인하세요";
    summary.wizardSteps = {step};
    HealthCheckWizard wizard(theme, summary, nullptr);
    EXPECT_TRUE(wizard.findChildren<QPushButton*>().isEmpty());
    EXPECT_TRUE(showsText(wizard, QStringLiteral("되는 조정")));
    EXPECT_TRUE(showsText(wizard, QStringLiteral("다음에 볼 순서")));
    EXPECT_TRUE(showsText(wizard, QString::fromStdString(step.title)));
}

// A step's disabled button explains itself on the same line: the reason
// stands 6 after the button and wraps in the room the button leaves, its
// whole text drawn, at the standard and the largest text size.
TEST(HealthCheckWizardTest, AStepsReasonStandsBesideItsButtonAndWrapsWhole) {
    Theme theme(false);
    QuorvaneDisplaySupportSummary summary;
    QuorvaneSupportWizardStep step;
    step.title = "4. 그래도 이상하면 리포트를 미리 보세요";
    step.detail =
        "공유하기 전에 내용을 확인할 수 있습니다. 고유 번호와 내부 식별값은 기본으로 "
        "가립니다. 이 화면에서는 파일을 만들지 않습니다.";
    step.status = QuorvaneSupportStatus::limited;
    step.action = QuorvaneDisplaySupportSummaryBuilder::reportAction();
    QuorvaneSupportWizardStep start;
    start.title = "1. 먼저 앱 색감부터 바꿔보세요";
    start.detail = "모니터 안의 값을 바꾸지 않아 되돌리기 쉽습니다.";
    start.action = QuorvaneDisplaySupportSummaryBuilder::softwareStartAction();
    summary.wizardSteps = {start, step};
    const QString reason = QString::fromStdString(*step.action->disabledReason);
    HealthCheckWizard wizard(theme, summary, nullptr);
    for (const auto size : {QuorvaneTextSize::standard, QuorvaneTextSize::veryLarge}) {
        SCOPED_TRACE(static_cast<int>(size));
        theme.setTextSize(size);
        const WrappingLabel* reasonLabel = shownAtWidth(wizard, 520, reason);
        QPushButton* button = buttonTitled(wizard, QString::fromStdString(step.action->title));
        ASSERT_TRUE(reasonLabel && button);
        const QRect buttonBox = testing::boxIn(&wizard, button);
        const QRect reasonBox = testing::boxIn(&wizard, reasonLabel);
        EXPECT_EQ(reasonBox.left(), buttonBox.right() + 1 + 6);
        // One line: the two stand centred on each other.
        EXPECT_NEAR(reasonBox.center().y(), buttonBox.center().y(), 1);
        // Every wrapped line of the reason is drawn: its box holds them all
        // and ink reaches into its last line.
        EXPECT_GE(reasonBox.height(), reasonLabel->heightForWidth(reasonBox.width()));
        const QImage picture = wizard.grab().toImage();
        const QRect reasonInk = testing::inkBounds(picture, reasonBox);
        ASSERT_FALSE(reasonInk.isEmpty());
        EXPECT_GT(reasonInk.bottom(), reasonBox.bottom() - reasonLabel->fontMetrics().height());
        EXPECT_LE(reasonInk.right(), reasonBox.right());
        // A button without a reason starts where its step's text does.
        QPushButton* alone = buttonTitled(wizard, QString::fromStdString(start.action->title));
        const WrappingLabel* startDetail = nullptr;
        for (auto* label : wizard.findChildren<WrappingLabel*>())
            if (label->text() == QString::fromStdString(start.detail))
                startDetail = label;
        ASSERT_TRUE(alone && startDetail);
        EXPECT_EQ(testing::boxIn(&wizard, alone).left(),
                  testing::boxIn(&wizard, startDetail).left());
    }
}

// In the largest text, a step's long button and its reason share the line:
// each keeps at least half of it (or its whole one-line width), the
// button's title wrapping inside its frame, every line drawn.
TEST(HealthCheckWizardTest, AStepsButtonAndReasonShareTheLineInTheLargestText) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    QuorvaneDisplaySupportSummary summary;
    QuorvaneSupportWizardStep step;
    step.title = "4. 그래도 이상하면 리포트를 미리 보세요";
    step.detail = "공유하기 전에 내용을 확인할 수 있습니다.";
    step.status = QuorvaneSupportStatus::limited;
    step.action = QuorvaneDisplaySupportSummaryBuilder::reportAction();
    summary.wizardSteps = {step};
    HealthCheckWizard wizard(theme, summary, nullptr);
    const QString reason = QString::fromStdString(*step.action->disabledReason);
    for (const int width : {380, 460, 560}) {
        SCOPED_TRACE(width);
        const WrappingLabel* reasonLabel = shownAtWidth(wizard, width, reason);
        QPushButton* button = buttonTitled(wizard, QString::fromStdString(step.action->title));
        ASSERT_TRUE(reasonLabel && button);
        const QRect buttonBox = testing::boxIn(&wizard, button);
        const QRect reasonBox = testing::boxIn(&wizard, reasonLabel);
        const int line = reasonBox.right() + 1 - buttonBox.left();
        const int half = (line - 6) / 2;
        EXPECT_GE(buttonBox.width(), std::min(half, button->sizeHint().width()));
        EXPECT_GE(reasonBox.width(), std::min(half, reasonLabel->sizeHint().width()));
        EXPECT_GE(reasonBox.height(), reasonLabel->heightForWidth(reasonBox.width()));
        // The title is drawn whole inside the frame: its ink stays clear of
        // the frame's sides, on as many lines as it wraps into.
        EXPECT_GE(buttonBox.height(), button->heightForWidth(buttonBox.width()));
        const QImage picture = wizard.grab().toImage();
        const QRect inside = buttonBox.adjusted(4, 4, -4, -4);
        const QRect title = testing::inkBounds(picture, inside, 30);
        ASSERT_FALSE(title.isEmpty());
        EXPECT_GT(title.left(), inside.left());
        EXPECT_LT(title.right(), inside.right());
        if (button->sizeHint().width() > buttonBox.width()) {
            EXPECT_GT(title.height(), button->fontMetrics().height());
        }
    }
}

}  // namespace
}  // namespace quorvane
