#include <gtest/gtest.h>

#include "presentation/controls/confirmation_dialog_model.hpp"
#include "presentation/controls/ddc_badge_presentation.hpp"
#include "presentation/controls/recovery_journal_presentation.hpp"
#include "presentation/controls/support_presentation.hpp"

namespace quorvane {
namespace {

QuorvaneSupportAction action(bool enabled, std::optional<std::string> detail,
                             std::optional<std::string> reason) {
    return {QuorvaneSupportActionKind::probeDDC, "모니터 확인", std::move(detail), enabled,
            std::move(reason)};
}

TEST(SupportPresentationTest, TooltipAndReasonFollowDetailReasonAndEnabledState) {
    EXPECT_EQ(SupportPresentation::actionTooltip(action(false, "자세히", "사유")), "자세히");
    EXPECT_EQ(SupportPresentation::actionTooltip(action(false, std::nullopt, "사유")), "사유");
    EXPECT_EQ(SupportPresentation::actionTooltip(action(false, std::nullopt, std::nullopt)),
              "모니터 확인");
    EXPECT_EQ(SupportPresentation::shownDisabledReason(action(false, "자세히", "사유")), "사유");
    // An enabled action never prints its reason, though its tooltip uses it.
    EXPECT_EQ(SupportPresentation::shownDisabledReason(action(true, std::nullopt, "사유")),
              std::nullopt);
    EXPECT_EQ(SupportPresentation::actionTooltip(action(true, std::nullopt, "사유")), "사유");
}

TEST(SupportPresentationTest, HardwareButtonLooksAtEveryActionKindOnly) {
    QuorvaneDisplaySupportSummary summary;
    EXPECT_FALSE(SupportPresentation::offersHardwareButton(summary));
    QuorvaneSupportCapabilityRow row;
    row.actions = {action(true, std::nullopt, std::nullopt)};
    summary.capabilities = {row, row};
    EXPECT_FALSE(SupportPresentation::offersHardwareButton(summary));
    QuorvaneSupportAction open{QuorvaneSupportActionKind::openHardwareSection, "열기", std::nullopt,
                               false, "아직"};
    summary.capabilities[1].actions.push_back(open);
    EXPECT_TRUE(SupportPresentation::offersHardwareButton(summary));
}

TEST(SupportPresentationTest, OnlyAvailableIsGreenAndTwoStatusesAreOrange) {
    int green = 0;
    int orange = 0;
    for (auto status : kQuorvaneSupportStatusAllCases) {
        const auto look = SupportPresentation::statusLook(status);
        green += look.tint == ColorRole::systemGreen;
        orange += look.tint == ColorRole::systemOrange;
    }
    EXPECT_EQ(green, 1);
    EXPECT_EQ(orange, 2);
    EXPECT_EQ(SupportPresentation::statusLook(QuorvaneSupportStatus::limited).label, "일부 가능");
}

QuorvaneRecoveryJournalEntry entry(int targets, std::string detail) {
    QuorvaneRecoveryJournalEntry result;
    result.detail = std::move(detail);
    for (int i = 0; i < targets; ++i)
        result.targets.push_back(
            {static_cast<std::uint32_t>(i), "id", "모니터 " + std::to_string(i)});
    return result;
}

TEST(RecoveryJournalPresentationTest, TargetLineKeepsItsSeparatorEvenWithoutDetail) {
    EXPECT_EQ(RecoveryJournalPresentation::targetLine(entry(0, "사유")), "대상: 대상 없음 · 사유");
    EXPECT_EQ(RecoveryJournalPresentation::targetLine(entry(1, "")), "대상: 모니터 0 · ");
    EXPECT_EQ(RecoveryJournalPresentation::targetLine(entry(3, "x")), "대상: 3개 화면 · x");
}

TEST(RecoveryJournalPresentationTest, LimitCutsTheNewestAndZeroShowsNeitherRowsNorEmptyText) {
    QuorvaneRecoveryJournal journal;
    EXPECT_EQ(RecoveryJournalPresentation::emptyText(journal, true), "최근 변경 기록 없음");
    EXPECT_EQ(RecoveryJournalPresentation::emptyText(journal, false),
              "아직 기록된 Quorvane 화면 색감 변경이 없습니다.");
    for (int i = 0; i < 7; ++i)
        journal.entries.push_back(entry(0, std::to_string(i)));
    const auto shown = RecoveryJournalPresentation::shownEntries(journal, 4);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown.front().detail, "0");
    EXPECT_EQ(shown.back().detail, "3");
    EXPECT_EQ(RecoveryJournalPresentation::shownEntries(journal, 50).size(), 7u);
    EXPECT_TRUE(RecoveryJournalPresentation::shownEntries(journal, 0).empty());
    EXPECT_EQ(RecoveryJournalPresentation::emptyText(journal, false), std::nullopt);
}

TEST(DDCBadgePresentationTest, SpinnerOnlyWhileCheckingAndDetailOnlyOnRequest) {
    DDCCapabilityBadge badge{DDCCapabilityBadgeKind::checking, "확인 중", "세부", "clock",
                             DDCCapabilityBadgeTone::orange};
    EXPECT_TRUE(DDCBadgePresentation::showsSpinner(badge));
    EXPECT_EQ(DDCBadgePresentation::shownDetail(badge, false), std::nullopt);
    EXPECT_EQ(DDCBadgePresentation::shownDetail(badge, true), "세부");
    badge.kind = DDCCapabilityBadgeKind::recheckNeeded;
    badge.detail.reset();
    EXPECT_FALSE(DDCBadgePresentation::showsSpinner(badge));
    EXPECT_EQ(DDCBadgePresentation::shownDetail(badge, true), std::nullopt);
}

TEST(ConfirmationDialogModelTest, NothingPendingAsksGenericallyWithOnlyCancel) {
    const auto idle = ConfirmationDialogModel::from(std::nullopt);
    EXPECT_EQ(idle.title, "작업을 확인할까요?");
    EXPECT_EQ(idle.confirmButtonTitle, std::nullopt);
    EXPECT_EQ(idle.message, "");
    QuorvaneDestructiveConfirmationRequest request{"id",
                                                   {"삭제할까요?", "삭제", "되돌릴 수 없습니다."},
                                                   QuorvaneDestructiveConfirmationStyle::standard,
                                                   nullptr};
    auto model = ConfirmationDialogModel::from(request);
    EXPECT_EQ(model.confirmButtonTitle, "삭제");
    EXPECT_FALSE(model.destructive);
    request.style = QuorvaneDestructiveConfirmationStyle::destructive;
    EXPECT_TRUE(ConfirmationDialogModel::from(request).destructive);
}

}  // namespace
}  // namespace quorvane
