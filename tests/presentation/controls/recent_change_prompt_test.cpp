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
// the window offers them, on which a late Return or Space does nothing.
TEST(RecentChangePromptTest, TheFocusReturnsToTheFirstControlALateKeyDoesNothingOn) {
    using Kind = PromptFocusReturn::Kind;
    using Candidate = PromptFocusReturn::Candidate;
    const Candidate slider{Kind::valueControl, true};
    const Candidate greyedSlider{Kind::valueControl, false};
    const Candidate button{Kind::pressable, true};
    const Candidate greyedButton{Kind::pressable, false};
    const Candidate picker{Kind::entry, true};
    const Candidate card{Kind::passive, true};
    // A slider the change came from takes it back.
    EXPECT_EQ(PromptFocusReturn::choose({slider, greyedSlider}), 0u);
    // A nudge, live or greyed at its range's end, hands to its row's slider.
    EXPECT_EQ(PromptFocusReturn::choose({button, slider, card}), 1u);
    EXPECT_EQ(PromptFocusReturn::choose({greyedButton, slider, card}), 1u);
    // A button, a picker or a field the card holds is never safe (it would
    // change a screen or a setting, open a window, a menu or a list): the
    // card itself takes it.
    EXPECT_EQ(PromptFocusReturn::choose({button, greyedSlider, button, picker, card}), 4u);
    EXPECT_EQ(PromptFocusReturn::choose({button, {Kind::passive, false}}), std::nullopt);
    EXPECT_EQ(PromptFocusReturn::choose({}), std::nullopt);
}

// The card's controls are tried nearest to the one the change came from
// first, the one before it on a tie.
TEST(RecentChangePromptTest, TheCardsControlsAreTriedNearestFirst) {
    using Order = std::vector<std::size_t>;
    EXPECT_EQ(PromptFocusReturn::nearestFirst(2, 5), (Order{2, 1, 3, 0, 4}));
    EXPECT_EQ(PromptFocusReturn::nearestFirst(0, 3), (Order{0, 1, 2}));
    EXPECT_EQ(PromptFocusReturn::nearestFirst(4, 3), (Order{2, 1, 0}));
    EXPECT_EQ(PromptFocusReturn::nearestFirst(0, 0), Order{});
}

}  // namespace
}  // namespace quorvane
