#include <gtest/gtest.h>

#include "presentation/controls/prompt_focus_return.hpp"
#include "presentation/controls/recent_change_prompt.hpp"

namespace quorvane {
namespace {

MonotonicTime at(double seconds) {
    return MonotonicTime{} + std::chrono::duration_cast<MonotonicTime::duration>(
                                 std::chrono::duration<double>(seconds));
}

TEST(RecentChangePromptTest, CountdownIsComputedFromCreationTime) {
    const MonotonicTime created = at(1000);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1000)), 8);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1000.001)), 8);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1002.3)), 6);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1007.9)), 1);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1008)), 0);
    EXPECT_EQ(RecentChangePromptTexts::remainingSeconds(created, at(1030)), 0);
    // A time before the publication never shows more than 8.
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

// Where the focus goes as the prompt goes: the first control, in the order
// the window offers them, on which a late Return or Space changes no screen.
TEST(RecentChangePromptTest, TheFocusReturnsToTheFirstControlALateKeyCannotChangeAScreenFrom) {
    using Kind = PromptFocusReturn::Kind;
    using Candidate = PromptFocusReturn::Candidate;
    const Candidate slider{Kind::valueControl, true, false, false};
    const Candidate sliderItself{Kind::valueControl, true, false, true};
    const Candidate nudge{Kind::pressable, true, true, true};
    const Candidate greyedNudge{Kind::pressable, false, true, true};
    const Candidate greyedSlider{Kind::valueControl, false, false, false};
    const Candidate tile{Kind::pressable, true, true, false};
    const Candidate picker{Kind::entry, true, false, false};
    const Candidate toolbarButton{Kind::pressable, true, false, false};
    // A slider the change came from takes it back.
    EXPECT_EQ(PromptFocusReturn::choose({sliderItself, greyedSlider}), 0u);
    // A nudge, live or greyed at its range's end, hands to its row's slider.
    EXPECT_EQ(PromptFocusReturn::choose({nudge, slider, toolbarButton}), 1u);
    EXPECT_EQ(PromptFocusReturn::choose({greyedNudge, slider, toolbarButton}), 1u);
    // A button the change came from is never safe, marked or not.
    EXPECT_EQ(PromptFocusReturn::choose({{Kind::pressable, true, false, true}, picker}), 1u);
    // Without a usable slider: the nearest safe control before the prompt,
    // never another tile.
    EXPECT_EQ(PromptFocusReturn::choose({tile, greyedSlider, tile, picker, toolbarButton}), 3u);
    EXPECT_EQ(PromptFocusReturn::choose({greyedNudge, tile, toolbarButton}), 2u);
    EXPECT_EQ(PromptFocusReturn::choose({nudge, tile}), std::nullopt);
    EXPECT_EQ(PromptFocusReturn::choose({}), std::nullopt);
}

}  // namespace
}  // namespace quorvane
