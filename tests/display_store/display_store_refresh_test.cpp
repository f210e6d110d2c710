#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane::testing {
namespace {

using Intent = DisplayStore::RefreshIntent;

constexpr const char* kPreferencesKey = "org.quorvane.Quorvane.preferences.v1";
constexpr const char* kCacheKey = "org.quorvane.Quorvane.ddc-capabilities.v1";
constexpr const char* kJournalKey = "org.quorvane.Quorvane.recoveryJournal.v1";

ColorAdjustment warm() {
    auto adjustment = ColorAdjustment::neutral();
    adjustment.warmth = 0.6;
    adjustment.softwareBrightness = 0.8;
    return adjustment;
}

QuorvanePreferences savedFor(const std::vector<DisplaySnapshot>& displays) {
    auto preferences = QuorvanePreferences::defaults();
    for (const auto& display : displays)
        preferences.displayAdjustments[rawIdentity(display)] = warm();
    return preferences;
}

// The journal notice follows whatever else the start-up says; the notices of
// the preferences and the capability cache hide each other as before.
TEST(DisplayStoreStartupTest, CorruptPreferencesNoticeStandsAndTheJournalNoticeFollowsIt) {
    StoreWorld world;
    world.defaults->setData(kPreferencesKey, "{\"textSize\": \"huge\"}");
    world.defaults->setData(kJournalKey, "not json");
    auto& store = world.startHoldingBackground();
    // Remembering the selected display is the first save: the broken record
    // is kept aside before it, and the notice names the copy.
    const std::string notice =
        "저장된 설정을 읽지 못해 기본값으로 복구했습니다. 읽지 못한 기록은 따로 보관했습니다: "
        "org.quorvane.Quorvane.preferences.v1.json.unreadable-1 — 최근 변경 기록을 읽지 못해 "
        "새로 시작합니다. 저장된 화면 설정은 그대로 둡니다.";
    EXPECT_EQ(store.statusMessage(), notice);
    EXPECT_EQ(store.textSize(), QuorvaneTextSize::large);
    world.finishBackground();
    // No colour saved, so the output step has nothing to say.
    EXPECT_EQ(store.statusMessage(), notice);
}

TEST(DisplayStoreStartupTest, TheJournalNoticeFollowsTheCacheResetNotice) {
    StoreWorld world;
    world.defaults->setData(kCacheKey, "{\"schemaVersion\":2,\"entriesByDisplayIdentity\":{}}");
    world.defaults->setData(kJournalKey, "not json");
    auto& store = world.start();
    EXPECT_EQ(store.statusMessage(),
              "저장된 모니터 기능 확인 정보를 새로 시작합니다. — 최근 변경 기록을 읽지 못해 새로 "
              "시작합니다. 저장된 화면 설정은 그대로 둡니다.");

    StoreWorld journalOnly;
    journalOnly.defaults->setData(kJournalKey, "not json");
    EXPECT_EQ(journalOnly.start().statusMessage(),
              "최근 변경 기록을 읽지 못해 새로 시작합니다. 저장된 화면 설정은 그대로 둡니다.");
}

// A journal store that reports a reset without a notice of its own.
class SilentlyResetJournal final : public QuorvaneRecoveryJournalStoring {
  public:
    QuorvaneRecoveryJournalLoadResult loadResult() const override {
        return {QuorvaneRecoveryJournal{}, true, std::nullopt, false};
    }
    void save(const QuorvaneRecoveryJournal&) override {}
};

TEST(DisplayStoreStartupTest, AJournalResetWithoutATextStillTellsTheUser) {
    StoreWorld world;
    world.journalStore = std::make_shared<SilentlyResetJournal>();
    EXPECT_EQ(world.start().statusMessage(), "최근 변경 기록을 새로 시작합니다.");

    // After another notice, as a journal reset with its own text is.
    StoreWorld behindTheCache;
    behindTheCache.journalStore = std::make_shared<SilentlyResetJournal>();
    behindTheCache.defaults->setData(kCacheKey,
                                     "{\"schemaVersion\":2,\"entriesByDisplayIdentity\":{}}");
    EXPECT_EQ(
        behindTheCache.start().statusMessage(),
        "저장된 모니터 기능 확인 정보를 새로 시작합니다. — 최근 변경 기록을 새로 시작합니다.");
}

// The start-up's output step comes after the notices and adds its status to
// them, so the damaged journal's notice is still there to read.
TEST(DisplayStoreStartupTest, TheAutoApplyStatusFollowsTheJournalNotice) {
    StoreWorld world;
    world.storePreferences(savedFor({externalDisplay(1, "Studio", 1001)}));
    world.defaults->setData(kJournalKey, "not json");
    auto& store = world.startHoldingBackground();
    const std::string notice =
        "최근 변경 기록을 읽지 못해 새로 시작합니다. 저장된 화면 설정은 그대로 둡니다.";
    EXPECT_EQ(store.statusMessage(), notice);
    world.finishBackground();
    EXPECT_EQ(store.statusMessage(), notice + " — 저장된 색상값 자동 적용됨");
    // A later output step says its own word alone.
    store.refresh(Intent::explicitUserRefresh);
    world.finishBackground();
    EXPECT_EQ(store.statusMessage(), "연결된 디스플레이 색상값 재적용됨");
}

TEST(DisplayStoreStartupTest, NoDisplayOnASynchronousStartStillTellsTheJournalNotice) {
    StoreWorld world;
    world.connect({});
    world.deferFullRefreshes = false;
    world.defaults->setData(kJournalKey, "not json");
    EXPECT_EQ(world.start().statusMessage(),
              "활성 디스플레이 없음 — 최근 변경 기록을 읽지 못해 새로 시작합니다. 저장된 화면 "
              "설정은 그대로 둡니다.");
}

TEST(DisplayStoreStartupTest, QuickListAndHotKeysComeBeforeTheFullRead) {
    StoreWorld world;
    world.storePreferences(savedFor({externalDisplay(1, "Studio", 1001)}));
    auto& store = world.startHoldingBackground();
    ASSERT_EQ(store.displays().size(), 1u);
    EXPECT_TRUE(store.displays()[0].modes.empty());
    EXPECT_EQ(world.registrar->reconcileCount(), 1);
    EXPECT_EQ(store.statusMessage(), "준비됨");
    EXPECT_EQ(world.gamma->writeCount(), 0);

    world.finishBackground();
    EXPECT_FALSE(store.displays()[0].modes.empty());
    EXPECT_EQ(store.statusMessage(), "저장된 색상값 자동 적용됨");
    EXPECT_EQ(world.midRed(1), world.midRed(warm()));
}

TEST(DisplayStoreStartupTest, AFallbackSelectionIsRememberedOnlyWhenNothingWasSaved) {
    StoreWorld world;
    const auto left = externalDisplay(1, "Left", 11), right = externalDisplay(2, "Right", 22, 1920);
    world.connect({left, right});
    auto& store = world.start();
    EXPECT_EQ(world.savedPreferences().lastSelectedDisplayIdentity, rawIdentity(left));
    store.setSelectedDisplayID(2);
    // The remembered display is unplugged: the fallback is shown, not saved.
    world.connect({left});
    const auto writes = world.defaults->writeCount();
    store.refresh(Intent::passiveViewAppearance);
    EXPECT_EQ(store.selectedDisplayID(), 1u);
    EXPECT_EQ(world.defaults->writeCount(), writes);
}

TEST(DisplayStoreRefreshTest, OnlyTheNewerOfTwoQuickExplicitRefreshesPublishes) {
    StoreWorld world;
    world.storePreferences(savedFor({externalDisplay(1, "Studio", 1001)}));
    auto& store = world.start();
    const int writesAfterStart = world.gamma->writeCount();
    world.scheduler->pauseBackground(true);
    store.refresh(Intent::explicitUserRefresh);
    store.refresh(Intent::explicitUserRefresh);
    EXPECT_EQ(store.statusMessage(), "화면 정보 새로 읽는 중…");
    EXPECT_EQ(world.scheduler->pendingBackgroundCount(), 2u);
    world.finishBackground();
    EXPECT_EQ(world.gamma->writeCount(), writesAfterStart + 1);
    EXPECT_EQ(store.statusMessage(), "연결된 디스플레이 색상값 재적용됨");
}

TEST(DisplayStoreRefreshTest, PassiveReadDuringAnExplicitReadPublishesAndTheOutputStepStillRuns) {
    StoreWorld world;
    world.storePreferences(savedFor({externalDisplay(1, "Studio", 1001)}));
    auto& store = world.start();
    const int writesAfterStart = world.gamma->writeCount();
    world.scheduler->pauseBackground(true);
    store.refresh(Intent::explicitUserRefresh);
    world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002, 1920)});
    store.refresh(Intent::passiveViewAppearance);
    EXPECT_EQ(store.displays().size(), 2u);
    EXPECT_EQ(store.statusMessage(), "화면 정보 새로 읽는 중…");
    EXPECT_EQ(world.gamma->writeCount(), writesAfterStart);

    // The overtaken read is dropped; the one started in its place runs the
    // explicit output step once.
    world.finishBackground();
    EXPECT_EQ(world.gamma->writeCount(), writesAfterStart + 1);
    EXPECT_EQ(store.statusMessage(), "연결된 디스플레이 색상값 재적용됨");
}

TEST(DisplayStoreRefreshTest, AWindowAppearingDuringStartUpKeepsTheSavedColours) {
    StoreWorld world;
    world.storePreferences(savedFor({externalDisplay(1, "Studio", 1001)}));
    auto& store = world.startHoldingBackground();
    store.refresh(Intent::passiveViewAppearance);
    world.finishBackground();
    EXPECT_EQ(world.midRed(1), world.midRed(warm()));
    EXPECT_EQ(store.statusMessage(), "저장된 색상값 자동 적용됨");
    EXPECT_FALSE(store.displays()[0].modes.empty());
}

TEST(DisplayStoreRefreshTest, OutputStepFollowsCorrectionAndAutoApply) {
    const auto studio = externalDisplay(1, "Studio", 1001);
    {
        StoreWorld world;
        auto preferences = savedFor({studio});
        preferences.softwareColorCorrectionEnabled = false;
        world.storePreferences(preferences);
        auto& store = world.start();
        EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
        EXPECT_EQ(store.statusMessage(), "화면 색감 보정 꺼짐 — 화면은 원래 색으로 둡니다");
        EXPECT_EQ(store.colorAdjustments().at(rawIdentity(studio)), warm());
    }
    {
        StoreWorld world;
        auto preferences = savedFor({studio});
        preferences.autoApplyEnabled = false;
        world.storePreferences(preferences);
        auto& store = world.start();
        EXPECT_EQ(world.gamma->writeCount(), 0);
        EXPECT_EQ(store.statusMessage(), "준비됨");
    }
}

TEST(DisplayStoreRefreshTest, AmbiguousMonitorsAreLeftOutOfAutoApply) {
    const auto twins = identicalTwins(1, 2);
    {
        StoreWorld world;
        world.connect(twins);
        world.storePreferences(savedFor({twins[0]}));
        auto& store = world.start();
        EXPECT_EQ(world.gamma->writeCount(), 0);
        EXPECT_EQ(store.statusMessage(),
                  "동일하게 보이는 모니터 2개는 자동 색상 적용을 건너뜁니다");
    }
    {
        StoreWorld world;
        auto all = twins;
        all.push_back(externalDisplay(3, "Studio", 1001, 3840));
        world.connect(all);
        world.storePreferences(savedFor(all));
        auto& store = world.start();
        EXPECT_EQ(world.gamma->writeCount(), 1);
        EXPECT_EQ(store.statusMessage(), "저장된 색상값 자동 적용됨 · 구분 불확실 2개 건너뜀");
    }
}

// A write that failed put nothing on the screen, so it is not taken for
// applied: once the output takes writes again, the next automatic refresh
// writes the saved colour, whether the failed write was the start-up's or
// the follow-up of a record taken in.
TEST(DisplayStoreRefreshTest, AFailedAutomaticWriteIsWrittenByTheNextAutomaticRefresh) {
    StoreWorld world;
    const auto studio = externalDisplay(1, "Studio", 1001);
    world.storePreferences(savedFor({studio}));
    const auto error = DisplayControlError::coreGraphics(5);
    const std::string failed = "색상 자동 적용 실패: Studio: " + error.description();
    world.gamma->setFailure(1, error);
    auto& store = world.start();
    EXPECT_EQ(store.statusMessage(), failed);
    world.gamma->setFailure(1, std::nullopt);
    store.refresh(Intent::startup);
    world.finishBackground();
    EXPECT_EQ(world.midRed(1), world.midRed(warm()));

    auto edited = world.savedPreferences();
    auto cooler = warm();
    cooler.warmth = 0.1;
    edited.displayAdjustments[rawIdentity(studio)] = cooler;
    world.storePreferences(edited);
    world.gamma->setFailure(1, error);
    store.reloadRecordsChangedOnDisk({DisplayStoreRecord::preferences});
    EXPECT_EQ(store.statusMessage(), failed);
    world.gamma->setFailure(1, std::nullopt);
    store.refresh(Intent::startup);
    world.finishBackground();
    EXPECT_EQ(world.midRed(1), world.midRed(cooler));
}

TEST(DisplayStoreRefreshTest, NoDisplayEndsARefreshWithoutOutputStep) {
    StoreWorld world;
    world.storePreferences(savedFor({externalDisplay(1, "Studio", 1001)}));
    auto& store = world.startHoldingBackground();
    world.connect({});  // gone while the full read runs
    world.finishBackground();
    EXPECT_EQ(store.statusMessage(), "활성 디스플레이 없음");
    EXPECT_EQ(world.gamma->writeCount(), 0);
    store.refresh(Intent::explicitUserRefresh);
    EXPECT_EQ(world.scheduler->pendingBackgroundCount(), 0u);
    EXPECT_TRUE(store.colorProfileStates().empty());
}

}  // namespace
}  // namespace quorvane::testing

namespace quorvane::testing {
namespace {

TEST(DisplayStoreQueryTest, SummariesAndBadgesNameTheDisplayTheUserKnows) {
    StoreWorld world;
    world.connect({builtinDisplay(1), externalDisplay(2, "Studio", 1001, 1920)});
    auto& store = world.start();
    const auto builtin = store.supportSummary(1);
    ASSERT_TRUE(builtin);
    EXPECT_EQ(builtin->overallStatus, QuorvaneSupportStatus::available);
    EXPECT_EQ(builtin->subtitle, "내장 디스플레이");
    store.setDisplayAlias("Desk", 2);
    EXPECT_EQ(store.supportSummary(2)->title, "Desk");
    EXPECT_FALSE(store.supportSummary(9).has_value());
    EXPECT_EQ(store.ddcCapabilityBadge(9).kind, DDCCapabilityBadgeKind::unchecked);
}

}  // namespace
}  // namespace quorvane::testing
