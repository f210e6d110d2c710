#include "presentation/panel/panel_ddc_status.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

DDCCapabilityBadge badge(DDCCapabilityBadgeKind kind, std::optional<std::string> detail = {}) {
    return {kind, "title not shown", std::move(detail), "checkmark.circle",
            DDCCapabilityBadgeTone::green};
}

TEST(PanelDDCStatus, TheProbeIsOfferedOnlyWhereAnAnswerIsMissingOrStale) {
    using Kind = DDCCapabilityBadgeKind;
    for (Kind kind : {Kind::checking, Kind::confirmed, Kind::unstable})
        EXPECT_EQ(panelDDCStatus(badge(kind), false, false).probeButton, std::nullopt)
            << caseName(kind);
    EXPECT_EQ(panelDDCStatus(badge(Kind::unchecked), false, false).probeButton->title,
              "모니터 기능 확인");
    EXPECT_EQ(panelDDCStatus(badge(Kind::unsupported), false, false).probeButton->title,
              "모니터 기능 확인");
    EXPECT_EQ(panelDDCStatus(badge(Kind::recheckNeeded), false, false).probeButton->title,
              "다시 확인");
}

TEST(PanelDDCStatus, TheProbeIsDisabledForABuiltInPanelAndWhileTheDisplayIsBusy) {
    const auto unchecked = badge(DDCCapabilityBadgeKind::unchecked);
    const auto builtIn = panelDDCStatus(unchecked, true, false);
    EXPECT_EQ(builtIn.labelText, "모니터 자체 설정 미확인");
    EXPECT_FALSE(builtIn.probeButton->enabled);
    EXPECT_FALSE(panelDDCStatus(unchecked, false, true).probeButton->enabled);
    EXPECT_TRUE(panelDDCStatus(unchecked, false, false).probeButton->enabled);
}

TEST(PanelDDCStatus, TheTooltipIsTheBadgeDetailElseTheGeneralExplanation) {
    const auto withDetail =
        panelDDCStatus(badge(DDCCapabilityBadgeKind::unstable, "밝기 읽기 2회 실패"), false, false);
    EXPECT_EQ(withDetail.helpText, "밝기 읽기 2회 실패");
    const auto general = panelDDCStatus(badge(DDCCapabilityBadgeKind::confirmed), false, false);
    EXPECT_NE(general.helpText.find("이 컴퓨터가 모니터에 요청해"), std::string::npos);
    EXPECT_EQ(general.labelText, "모니터 설정 가능");
    EXPECT_EQ(general.tone, DDCCapabilityBadgeTone::green);
    EXPECT_EQ(general.systemImage, "checkmark.circle");
}

}  // namespace
}  // namespace quorvane
