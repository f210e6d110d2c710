#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "presentation/controls/hold_to_compare.hpp"

namespace quorvane {
namespace {

struct FakeStore {
    bool refuse = false;
    int begins = 0;
    std::vector<std::string> ended;
    // The comparisons still running; a store that tells none keeps a held
    // token running until it is handed back.
    std::set<std::string> running;
    bool tellsWhatRuns = false;

    HoldToCompareSession session() {
        return HoldToCompareSession(
            [this]() -> std::optional<QuorvaneTemporaryNeutralComparisonToken> {
                ++begins;
                if (refuse)
                    return std::nullopt;
                const std::string id = std::string("T").append(std::to_string(begins));
                running.insert(id);
                return QuorvaneTemporaryNeutralComparisonToken{id, "id"};
            },
            [this](const QuorvaneTemporaryNeutralComparisonToken& token) {
                ended.push_back(token.id);
                running.erase(token.id);
            },
            tellsWhatRuns ? HoldToCompareSession::Runs(
                                [this](const QuorvaneTemporaryNeutralComparisonToken& token) {
                                    return running.contains(token.id);
                                })
                          : HoldToCompareSession::Runs());
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

// A comparison the store ended itself (a change of the display's colour
// meanwhile) is over for the button too: it is not comparing, and the next
// start or toggle asks the store at once, handing the dead token back first.
TEST(HoldToCompareSessionTest, AComparisonTheStoreEndedIsOverAndTheNextToggleStartsAnew) {
    FakeStore store;
    store.tellsWhatRuns = true;
    auto session = store.session();
    session.toggleForAccessibility();
    ASSERT_TRUE(session.comparing());
    store.running.clear();
    EXPECT_FALSE(session.comparing());
    session.toggleForAccessibility();
    EXPECT_TRUE(session.comparing());
    EXPECT_EQ(store.begins, 2);
    EXPECT_EQ(store.ended, std::vector<std::string>{"T1"});
    // Ended by the store while the start is refused (correction off): the
    // dead token is not taken for a running comparison, and nothing starts.
    store.running.clear();
    session.setEnabled(false);
    session.toggleForAccessibility();
    EXPECT_FALSE(session.comparing());
    EXPECT_EQ(store.begins, 2);
    session.end();
    EXPECT_EQ(store.ended, (std::vector<std::string>{"T1", "T2"}));
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
