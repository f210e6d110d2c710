// What the sender of an automation URL hears of it.

#include "services/automation/quorvane_automation_url_outcome.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using Kind = QuorvaneAutomationURLOutcome::Kind;

TEST(AutomationUrlOutcome, OnlyWhatWasNotCarriedOutIsToldAsARefusalInItsOwnWords) {
    const std::string off =
        "URL 프리셋 자동화가 꺼져 있습니다. 설정에서 먼저 켜야 외부 링크가 저장 색상값을 "
        "적용합니다.";
    EXPECT_EQ((QuorvaneAutomationURLOutcome{Kind::refused, off}.refusal()), off);
    EXPECT_EQ(
        (QuorvaneAutomationURLOutcome{Kind::failed, "자동화 프리셋 적용 실패: Studio"}.refusal()),
        "자동화 프리셋 적용 실패: Studio");
    EXPECT_EQ((QuorvaneAutomationURLOutcome{Kind::carriedOut, "Quorvane 자동화 URL을 받았습니다"}
                   .refusal()),
              std::nullopt);
    // A copy of one carried out stands on the first: not a failure.
    EXPECT_EQ(
        (QuorvaneAutomationURLOutcome{Kind::duplicate, "중복 자동화 URL을 무시했습니다"}.refusal()),
        std::nullopt);
}

}  // namespace
}  // namespace quorvane
