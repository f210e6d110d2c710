#include <gtest/gtest.h>

#include "presentation/controls/recent_change_prompt.hpp"

namespace quorvane {
namespace {

Date at(double seconds) {
    return Date{} +
           std::chrono::duration_cast<Date::duration>(std::chrono::duration<double>(seconds));
}

TEST(RecentChangePromptTest, CountdownIsComputedFromCreationTime) {
    const Date created = at(1000);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1000)), 8);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1000.001)), 8);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1002.3)), 6);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1007.9)), 1);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1008)), 0);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1030)), 0);
    // A clock behind the creation time never shows more than 8.
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(990)), 8);
    EXPECT_EQ(RecentChangePromptTexts::countdownText(6), "6초 뒤 숨김");
    EXPECT_EQ(RecentChangePromptTexts::countdownAccessibilityText(8), "복구 알림이 8초 뒤 숨겨짐");
}

TEST(RecentChangePromptTest, TargetSummaryNamesOneScreenAndCountsSeveral) {
    QuorvaneRecentChangeRecoveryPrompt prompt;
    prompt.targets = {{1, "a", "작업실 모니터"}};
    EXPECT_EQ(RecentChangePromptTexts::targetSummary(prompt), "대상: 작업실 모니터");
    prompt.targets.push_back({2, "b", "내장"});
    prompt.targets.push_back({3, "c", "TV"});
    EXPECT_EQ(RecentChangePromptTexts::targetSummary(prompt), "대상: 3개 화면");
    prompt.targets = {};
    EXPECT_EQ(RecentChangePromptTexts::targetSummary(prompt), "대상: 0개 화면");
    prompt.targets = {{1, "a", ""}};
    EXPECT_EQ(RecentChangePromptTexts::targetSummary(prompt), "대상: 1개 화면");
}

}  // namespace
}  // namespace quorvane
