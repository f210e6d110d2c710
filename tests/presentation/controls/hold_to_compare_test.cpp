#include <gtest/gtest.h>

#include <vector>

#include "presentation/controls/hold_to_compare.hpp"

namespace quorvane {
namespace {

struct FakeStore {
    bool refuse = false;
    int begins = 0;
    std::vector<std::string> ended;

    HoldToCompareSession session() {
        return HoldToCompareSession(
            [this]() -> std::optional<QuorvaneTemporaryNeutralComparisonToken> {
                ++begins;
                if (refuse)
                    return std::nullopt;
                return QuorvaneTemporaryNeutralComparisonToken{
                    std::string("T").append(std::to_string(begins)), "id"};
            },
            [this](const QuorvaneTemporaryNeutralComparisonToken& token) {
                ended.push_back(token.id);
            });
    }
};

TEST(HoldToCompareSessionTest, MovementsWhilePressedDoNotStartASecondComparison) {
    FakeStore store;
    auto session = store.session();
    session.beginIfNeeded();
    session.beginIfNeeded();
    EXPECT_EQ(store.begins, 1);
    session.end();
    session.end();
    EXPECT_EQ(store.ended, std::vector<std::string>{"T1"});
}

TEST(HoldToCompareSessionTest, DisabledOnlyGuardsTheStart) {
    FakeStore store;
    auto session = store.session();
    session.setEnabled(false);
    session.beginIfNeeded();
    EXPECT_EQ(store.begins, 0);
    session.setEnabled(true);
    session.beginIfNeeded();
    // The window reports the button disabled while its own comparison runs.
    session.setEnabled(false);
    session.end();
    EXPECT_EQ(store.ended, std::vector<std::string>{"T1"});
    EXPECT_FALSE(session.comparing());
}

TEST(HoldToCompareSessionTest, RefusalStaysIdleAndEachMovementAsksAgain) {
    FakeStore store;
    store.refuse = true;
    auto session = store.session();
    session.beginIfNeeded();
    session.beginIfNeeded();
    EXPECT_EQ(store.begins, 2);
    EXPECT_FALSE(session.comparing());
    session.end();
    EXPECT_TRUE(store.ended.empty());
}

TEST(HoldToCompareSessionTest, AccessibleActionTogglesAndEndsEvenWhenDisabled) {
    FakeStore store;
    auto session = store.session();
    session.toggleForAccessibility();
    EXPECT_TRUE(session.comparing());
    session.setEnabled(false);
    session.toggleForAccessibility();
    EXPECT_FALSE(session.comparing());
    session.toggleForAccessibility();  // disabled and idle: nothing starts
    EXPECT_EQ(store.begins, 1);
    EXPECT_EQ(store.ended, std::vector<std::string>{"T1"});
}

TEST(HoldToCompareTextsTest, DisabledWhileComparingKeepsTheComparingLookAndTheAction) {
    const auto texts = holdToCompareTexts(true, false);
    EXPECT_EQ(texts.title, "원래 색 보는 중");
    EXPECT_EQ(texts.symbol, "eye.fill");
    EXPECT_EQ(texts.accessibilityValue, "원래 색 비교 중");
    EXPECT_TRUE(texts.actsAsButton);
    EXPECT_EQ(texts.tooltip, holdToCompareTexts(false, false).tooltip);
    const auto idleDisabled = holdToCompareTexts(false, false);
    EXPECT_FALSE(idleDisabled.actsAsButton);
    EXPECT_EQ(idleDisabled.accessibilityValue, "사용할 수 없음");
    EXPECT_EQ(holdToCompareTexts(false, true).accessibilityValue, "현재 색감");
}

}  // namespace
}  // namespace quorvane
