#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

void PrintTo(const QuorvaneAutomationURLOutcome& outcome, std::ostream* out) {
    *out << static_cast<int>(outcome.kind) << " \"" << outcome.statusText << '"';
}

}  // namespace quorvane

namespace quorvane::testing {
namespace {

constexpr const char* kOpen = "quorvane://open";
constexpr const char* kDuplicate = "중복 자동화 URL을 무시했습니다";

class DisplayStoreAutomationTest : public ::testing::Test {
  protected:
    DisplayStore& start(std::vector<DisplaySnapshot> displays, bool presetsAllowed = true,
                        std::vector<DisplayPreset> custom = {}) {
        world.connect(std::move(displays));
        auto preferences = QuorvanePreferences::defaults();
        preferences.urlPresetAutomationEnabled = presetsAllowed;
        preferences.customPresets = std::move(custom);
        world.storePreferences(preferences);
        return world.start();
    }

    void wait(double secondsToWait) { world.scheduler->advance(seconds(secondsToWait)); }

    StoreWorld world;
};

TEST_F(DisplayStoreAutomationTest, ARepeatWithinHalfASecondOfTheFirstIsIgnored) {
    auto& store = start({externalDisplay(1, "Studio", 1001)});
    EXPECT_TRUE(store.handleAutomationURL(kOpen));
    EXPECT_EQ(store.statusMessage(), "Quorvane 자동화 URL을 받았습니다");
    wait(0.3);
    EXPECT_FALSE(store.handleAutomationURL(kOpen));
    EXPECT_EQ(store.statusMessage(), kDuplicate);
    // Measured from the first copy: the repeat did not extend the window.
    wait(0.3);
    EXPECT_TRUE(store.handleAutomationURL(kOpen));
    // A different spelling is a different URL.
    EXPECT_TRUE(store.handleAutomationURL("quorvane://OPEN"));
}

TEST_F(DisplayStoreAutomationTest, AWallClockSetBackDoesNotSuppressLaterCopies) {
    auto& store = start({externalDisplay(1, "Studio", 1001)});
    EXPECT_TRUE(store.handleAutomationURL("quorvane://diagnostics"));
    world.scheduler->setWallNow(world.scheduler->wallNow() - std::chrono::hours(2));
    wait(0.6);
    EXPECT_TRUE(store.handleAutomationURL("quorvane://diagnostics"));
}

TEST_F(DisplayStoreAutomationTest, RefusalsAndParseErrorsAreNeverRemembered) {
    auto& store = start({externalDisplay(1, "Studio", 1001)}, false);
    const std::string preset = "quorvane://apply-safe-preset?preset=night&scope=all-visible";
    EXPECT_FALSE(store.handleAutomationURL(preset));
    EXPECT_FALSE(store.handleAutomationURL(preset));
    EXPECT_EQ(store.statusMessage(),
              "URL 프리셋 자동화가 꺼져 있습니다. 설정에서 먼저 켜야 외부 링크가 저장 색상값을 "
              "적용합니다.");
    EXPECT_FALSE(store.handleAutomationURL("quorvane://nope"));
    EXPECT_FALSE(store.handleAutomationURL("quorvane://nope"));
    EXPECT_TRUE(store.statusMessage().starts_with("자동화 URL 오류: "));
    EXPECT_EQ(world.gamma->writeCount(), 0);
}

// The outcome a sender hears carries the text the windows show.
TEST_F(DisplayStoreAutomationTest, EachURLTellsWhatBecameOfItInTheWordsItShowed) {
    using Outcome = QuorvaneAutomationURLOutcome;
    using Kind = Outcome::Kind;
    auto& store =
        start({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002)}, false);
    const std::string night = "quorvane://apply-safe-preset?preset=night&display=2";
    const Outcome off{Kind::refused,
                      "URL 프리셋 자동화가 꺼져 있습니다. 설정에서 먼저 켜야 외부 링크가 저장 "
                      "색상값을 적용합니다."};
    EXPECT_EQ(store.carryOutAutomationURL(night), off);
    EXPECT_EQ(store.carryOutAutomationURL(night), off);
    EXPECT_EQ(store.carryOutAutomationURL("quorvane://nope"),
              (Outcome{Kind::refused, "자동화 URL 오류: 알 수 없는 자동화 명령입니다: nope"}));

    store.setURLPresetAutomationEnabled(true);
    EXPECT_EQ(store.carryOutAutomationURL("quorvane://apply-safe-preset?preset=nothing&display=2"),
              (Outcome{Kind::refused, "자동화 프리셋을 찾지 못했습니다: nothing"}));
    EXPECT_EQ(store.carryOutAutomationURL("quorvane://apply-safe-preset?preset=night&display=9"),
              (Outcome{Kind::refused, "자동화 디스플레이를 찾지 못했습니다: 9"}));
    EXPECT_EQ(world.gamma->writeCount(), 0);

    EXPECT_EQ(store.carryOutAutomationURL(night),
              (Outcome{Kind::carriedOut, "자동화 프리셋 적용됨: Night (1개 디스플레이)"}));
    EXPECT_EQ(store.carryOutAutomationURL(night), (Outcome{Kind::duplicate, kDuplicate}));
    EXPECT_EQ(store.carryOutAutomationURL(kOpen),
              (Outcome{Kind::carriedOut, "Quorvane 자동화 URL을 받았습니다"}));

    // Tried and taken by no display: a failure, not a refusal.
    world.gamma->setFailure(1, DisplayControlError::coreGraphics(2));
    EXPECT_EQ(store.carryOutAutomationURL("quorvane://apply-safe-preset?preset=coding&display=1"),
              (Outcome{Kind::failed, "자동화 프리셋 적용 실패: Studio"}));
}

TEST_F(DisplayStoreAutomationTest, APresetReachesTheDisplayWithoutAPrompt) {
    auto& store = start({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002)});
    EXPECT_TRUE(store.handleAutomationURL("quorvane://apply-safe-preset?preset=NIGHT&display=+2"));
    EXPECT_EQ(store.statusMessage(), "자동화 프리셋 적용됨: Night (1개 디스플레이)");
    EXPECT_EQ(store.colorAdjustment(2), DisplayPreset::builtIns()[2].adjustment);
    EXPECT_FALSE(store.recentChangeRecoveryPrompt().has_value());
    EXPECT_TRUE(store.recoverySnapshot(2)->canUndo);
    const auto& entry = store.recoveryJournal().entries.front();
    EXPECT_EQ(entry.actionTitle, "자동화 프리셋");
    EXPECT_EQ(entry.status, QuorvaneRecoveryJournalStatus::applied);
    // Start-up would not write it again: its signature is recorded.
    const int writes = world.gamma->writeCount();
    store.refresh(DisplayStore::RefreshIntent::startup);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(world.gamma->writeCount(), writes);
}

// A command line killed after it wrote the ramps but before it saved
// changes the screen and tells nobody. The same URL again within the window
// then finds the screen no longer showing what the first one left there: it
// is carried out, not dropped. Another display's change is no such change.
TEST_F(DisplayStoreAutomationTest, ARepeatIsCarriedOutWhenTheScreenNoLongerShowsTheFirst) {
    auto& store = start({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002)});
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=2";
    ASSERT_TRUE(store.handleAutomationURL(url));
    const auto movie = world.gamma->makeTransferTables(DisplayPreset::builtIns()[3].adjustment);
    world.gamma->setTransferTables(movie, 1);
    wait(0.05);
    EXPECT_FALSE(store.handleAutomationURL(url));
    EXPECT_EQ(store.statusMessage(), kDuplicate);

    world.gamma->setTransferTables(movie, 2);
    wait(0.05);
    EXPECT_TRUE(store.handleAutomationURL(url));
    EXPECT_EQ(world.gamma->tables(2),
              world.gamma->makeTransferTables(DisplayPreset::builtIns()[2].adjustment));
}

TEST_F(DisplayStoreAutomationTest, AHalfFailedPresetIsRememberedButReportsFailure) {
    auto& store = start({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002)});
    world.gamma->setFailure(1, DisplayControlError::coreGraphics(2));
    const std::string url = "quorvane://apply-safe-preset?preset=coding&scope=all-visible";
    EXPECT_EQ(store.carryOutAutomationURL(url),
              (QuorvaneAutomationURLOutcome{QuorvaneAutomationURLOutcome::Kind::failed,
                                            "일부 자동화 프리셋 적용 실패: Studio"}));
    EXPECT_EQ(store.statusMessage(), "일부 자동화 프리셋 적용 실패: Studio");
    EXPECT_EQ(store.recoveryJournal().entries.front().status,
              QuorvaneRecoveryJournalStatus::partial);
    EXPECT_EQ(store.recoveryJournal().entries.front().targets.size(), 2u);
    EXPECT_FALSE(store.handleAutomationURL(url));
    EXPECT_EQ(store.statusMessage(), kDuplicate);
}

// Twins share one saved colour and one undo step: the preset the first twin
// just took must not become the value that undo brings back.
TEST_F(DisplayStoreAutomationTest, UndoAfterAPresetOnEveryDisplayBringsBackTheTwinsColour) {
    auto& store = start(identicalTwins(1, 2));
    store.updateColorAdjustment(1, [](ColorAdjustment& value) { value.gamma = 1.4; });
    const auto before = store.colorAdjustment(1);
    EXPECT_TRUE(
        store.handleAutomationURL("quorvane://apply-safe-preset?preset=night&scope=all-visible"));
    store.undoLastSoftwareAdjustment(2);
    EXPECT_EQ(store.colorAdjustment(1), before);
    EXPECT_EQ(world.midRed(2), world.midRed(before));
}

TEST_F(DisplayStoreAutomationTest, LookupsReportMissingAndAmbiguousNames) {
    const auto twins = identicalTwins(1, 2);
    auto& store = start(twins, true,
                        {{"A1", "Reading", ColorAdjustment::neutral(), ItemKind::custom},
                         {"A2", "READING", ColorAdjustment::neutral(), ItemKind::custom}});
    store.handleAutomationURL("quorvane://apply-safe-preset?preset=reAding&scope=all-visible");
    EXPECT_EQ(store.statusMessage(),
              "자동화 프리셋 이름이 중복됩니다. id를 사용하세요: Reading (A1), READING (A2)");
    store.handleAutomationURL("quorvane://apply-safe-preset?preset=nothing&display=3");
    EXPECT_EQ(store.statusMessage(), "자동화 프리셋을 찾지 못했습니다: nothing");
    store.handleAutomationURL("quorvane://apply-safe-preset?preset=A1&display=" +
                              rawIdentity(twins[0]));
    EXPECT_EQ(store.statusMessage(),
              "자동화 디스플레이 식별자가 중복됩니다. display id를 사용하세요: Twin (" +
                  rawIdentity(twins[0]) + "), Twin (" + rawIdentity(twins[1]) + ")");
    EXPECT_TRUE(store.recoveryJournal().entries.empty());
}

}  // namespace
}  // namespace quorvane::testing
