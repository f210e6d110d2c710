#include <gtest/gtest.h>

#include <algorithm>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane::testing {
namespace {

bool handedOver(const SimulatedGlobalHotKeyRegistrar& registrar, std::string_view id) {
    const auto& bindings = registrar.lastBindings();
    return std::any_of(bindings.begin(), bindings.end(),
                       [&](const GlobalHotKeyBinding& binding) { return binding.id == id; });
}

class DisplayStoreHotKeyTest : public ::testing::Test {
  protected:
    DisplayStore& start(const std::function<void(QuorvanePreferences&)>& edit) {
        auto preferences = QuorvanePreferences::defaults();
        edit(preferences);
        world.storePreferences(preferences);
        return world.start();
    }
    StoreWorld world;
};

TEST_F(DisplayStoreHotKeyTest, TheEmergencyChordWinsOverASceneBindingOnIt) {
    const auto clash = [](QuorvanePreferences& preferences) {
        preferences.sceneHotKeysEnabled = true;
        preferences.sceneHotKeyBindings[1].combination =
            HotKeyCombination::defaultEmergencyRecovery();
    };
    auto& store = start(clash);
    const auto clashingID = store.sceneHotKeyBindings()[1].id;
    EXPECT_FALSE(handedOver(*world.registrar, clashingID));
    EXPECT_EQ(store.sceneHotKeyRegistrationSummary().requestedCount, 4);
    EXPECT_EQ(store.sceneHotKeyRegistrationSummary().registeredCount, 4);
    EXPECT_EQ(store.emergencyRecoveryHotKeyRegistrationSummary().registeredCount, 1);

    StoreWorld emergencyOff;
    auto preferences = QuorvanePreferences::defaults();
    clash(preferences);
    preferences.emergencyRecoveryHotKeyEnabled = false;
    emergencyOff.storePreferences(preferences);
    auto& other = emergencyOff.start();
    EXPECT_TRUE(handedOver(*emergencyOff.registrar, clashingID));
    EXPECT_EQ(other.sceneHotKeyRegistrationSummary().requestedCount, 5);
    EXPECT_FALSE(other.emergencyRecoveryHotKeyRegistrationSummary().isEnabled);
}

TEST_F(DisplayStoreHotKeyTest, BindingsOfDeletedScenesAreDroppedAndDisabledOnesCounted) {
    auto& store = start([](QuorvanePreferences& preferences) {
        preferences.sceneHotKeysEnabled = true;
        preferences.sceneHotKeyBindings.push_back(
            {"scene-gone", "gone", true, HotKeyCombination(29, "0", {HotKeyModifier::control})});
    });
    EXPECT_FALSE(handedOver(*world.registrar, "scene-gone"));
    store.setSceneHotKeyBindingEnabled("scene-work", false);
    EXPECT_EQ(store.sceneHotKeyRegistrationSummary().requestedCount, 5);
    EXPECT_EQ(store.sceneHotKeyRegistrationSummary().registeredCount, 4);
    EXPECT_EQ(store.statusMessage(), "전역 단축키 5개 등록됨");
    EXPECT_FALSE(world.savedPreferences().sceneHotKeyBindings[0].enabled);
    store.handleSceneHotKey("scene-gone");
    EXPECT_EQ(store.statusMessage(), "단축키 씬을 찾지 못했습니다: Ctrl+0");
}

TEST_F(DisplayStoreHotKeyTest, ARefusedChordIsQuotedInTheStatus) {
    world.registrar->refuse(SceneHotKeyBinding::defaultBindings()[0].combination, -9878);
    auto& store =
        start([](QuorvanePreferences& preferences) { preferences.sceneHotKeysEnabled = true; });
    EXPECT_EQ(store.statusMessage(), "준비됨");
    store.setSceneHotKeyBindingEnabled("scene-night", true);
    EXPECT_EQ(store.statusMessage(),
              "전역 단축키: 5개 등록, 1개 실패 — Ctrl+Alt+Super+1 등록 실패(-9878)");
    EXPECT_EQ(store.sceneHotKeyRegistrationSummary().failures.size(), 1u);
    EXPECT_TRUE(store.emergencyRecoveryHotKeyRegistrationSummary().failures.empty());
}

TEST_F(DisplayStoreHotKeyTest, BothFamiliesOffUnregisterEverythingAndPressesOnlyReport) {
    auto& store = start([](QuorvanePreferences& preferences) {
        preferences.emergencyRecoveryHotKeyEnabled = false;
    });
    EXPECT_EQ(world.registrar->unregisterAllCount(), 1);
    EXPECT_EQ(store.sceneHotKeyRegistrationSummary(),
              (GlobalHotKeyRegistrationSummary{5, 0, {}, false}));
    store.setSceneHotKeyBindingEnabled("scene-work", true);
    EXPECT_EQ(store.statusMessage(), "전역 단축키 꺼짐");

    // Presses queued before the switches went off read them at delivery.
    world.registrar->deliver("emergency-recovery");
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(), "비상 복구 단축키가 꺼져 있습니다");
    world.registrar->deliver("scene-work");
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(), "씬 단축키가 꺼져 있습니다");
    EXPECT_EQ(world.gamma->writeCount(), 0);
}

TEST_F(DisplayStoreHotKeyTest, PressesArriveAsTasksAndReadTheSwitchesThen) {
    auto& store =
        start([](QuorvanePreferences& preferences) { preferences.sceneHotKeysEnabled = true; });
    ASSERT_TRUE(world.registrar->press(SceneHotKeyBinding::defaultBindings()[0].combination));
    EXPECT_EQ(store.recoveryJournal().entries.size(), 0u);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(), "씬 적용됨: Work (1개 디스플레이)");

    ASSERT_TRUE(world.registrar->press(HotKeyCombination::defaultEmergencyRecovery()));
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.recoveryJournal().entries.front().actionTitle, "비상 복구");

    // A press that arrives after the store is gone does nothing.
    world.registrar->deliver("emergency-recovery");
    world.store.reset();
    world.scheduler->runUntilIdle();
}

TEST_F(DisplayStoreHotKeyTest, TheFamilySwitchesReRegisterSaveAndReport) {
    auto& store = start([](QuorvanePreferences&) {});
    EXPECT_FALSE(handedOver(*world.registrar, "scene-work"));

    store.setSceneHotKeysEnabled(true);
    EXPECT_TRUE(handedOver(*world.registrar, "scene-work"));
    EXPECT_TRUE(store.sceneHotKeyRegistrationSummary().isEnabled);
    EXPECT_EQ(store.statusMessage(), "전역 단축키 6개 등록됨");
    EXPECT_TRUE(world.savedPreferences().sceneHotKeysEnabled);

    store.setEmergencyRecoveryHotKeyEnabled(false);
    EXPECT_FALSE(handedOver(*world.registrar, "emergency-recovery"));
    EXPECT_FALSE(store.emergencyRecoveryHotKeyRegistrationSummary().isEnabled);
    EXPECT_EQ(store.statusMessage(), "전역 단축키 5개 등록됨");
    EXPECT_FALSE(world.savedPreferences().emergencyRecoveryHotKeyEnabled);
    EXPECT_EQ(store.preferences(), world.savedPreferences());

    store.setSceneHotKeysEnabled(false);
    EXPECT_EQ(store.statusMessage(), "전역 단축키 꺼짐");
    EXPECT_FALSE(store.sceneHotKeyRegistrationSummary().isEnabled);
}

class DisplayStoreSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({studio, side});
        world.start();
    }
    DisplayStore& store() { return *world.store; }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
};

TEST_F(DisplayStoreSettingsTest, CorrectionOffShowsNeutralAndKeepsTheValues) {
    store().setSoftwareColorCorrectionEnabled(false);
    store().setSoftwareColorCorrectionEnabled(true);
    EXPECT_EQ(store().statusMessage(), "화면 색감 보정 켜짐 — 저장된 색감 값이 없습니다");
    store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.7; });
    store().setSoftwareColorCorrectionEnabled(false);
    EXPECT_EQ(store().statusMessage(), "화면 색감 보정 꺼짐 — 저장값은 유지됩니다");
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    EXPECT_DOUBLE_EQ(store().colorAdjustment(1).warmth, 0.7);
    EXPECT_FALSE(world.savedPreferences().softwareColorCorrectionEnabled);

    const auto writes = world.defaults->writeCount();
    store().setSoftwareColorCorrectionEnabled(false);
    EXPECT_EQ(store().statusMessage(), "화면 색감 보정이 이미 꺼져 있습니다 — 저장값은 유지됩니다");
    EXPECT_EQ(world.defaults->writeCount(), writes);

    store().setSoftwareColorCorrectionEnabled(true);
    EXPECT_EQ(store().statusMessage(), "연결된 디스플레이 색상값 재적용됨");
    EXPECT_NE(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
}

TEST_F(DisplayStoreSettingsTest, CorrectionOffReportsDisplaysItCouldNotNeutralise) {
    world.gamma->setFailure(2, DisplayControlError::coreGraphics(5));
    store().setSoftwareColorCorrectionEnabled(false);
    EXPECT_EQ(store().statusMessage(), "화면 색감 보정 일부만 꺼짐: Side: X11 오류: 5");
    world.gamma->setFailure(1, DisplayControlError::coreGraphics(5));
    store().setSoftwareColorCorrectionEnabled(true);
    store().setSoftwareColorCorrectionEnabled(false);
    EXPECT_EQ(store().statusMessage(),
              "화면 색감 보정을 끄지 못했습니다: Studio: X11 오류: 5, Side: X11 오류: 5");
}

TEST_F(DisplayStoreSettingsTest, TheSyncGroupMustExistAndIsStoredTrimmed) {
    store().saveDisplayGroup("Pair");
    const auto id = store().customDisplayGroups()[0].id;
    store().setBrightnessSyncGroupID("  " + id + "\n");
    EXPECT_EQ(store().statusMessage(), "밝기 동기화 범위: 선택한 그룹");
    EXPECT_EQ(world.savedPreferences().brightnessSyncGroupID, id);

    const auto writes = world.defaults->writeCount();
    store().setBrightnessSyncGroupID(std::string("missing"));
    EXPECT_EQ(store().statusMessage(), "밝기 동기화 그룹을 찾지 못했습니다");
    EXPECT_EQ(store().brightnessSyncGroupID(), id);
    EXPECT_EQ(world.defaults->writeCount(), writes);
}

TEST_F(DisplayStoreSettingsTest, AFailedSaveReplacesTheSuccessTextUntilTheNextAction) {
    world.defaults->setFailsWrites(true);
    store().saveCustomPreset("Evening", 1);
    const std::string failure = "설정을 저장하지 못했습니다: org.quorvane.Quorvane.preferences.v1";
    EXPECT_EQ(store().statusMessage(), failure);
    store().setAutoApplyEnabled(false);
    EXPECT_EQ(store().statusMessage(), failure);

    world.defaults->setFailsWrites(false);
    store().setAutoApplyEnabled(true);
    EXPECT_EQ(store().statusMessage(), "자동 색상 적용 켜짐");
    EXPECT_TRUE(world.savedPreferences().autoApplyEnabled);
}

// With the records written in the background the save has returned before
// the disk refuses it; the failure still replaces the success text.
TEST(DisplayStoreSaveTest, AWriteThatFailsInTheBackgroundIsToldInTheStatusText) {
    StoreWorld world;
    world.writer = std::make_shared<BackgroundDefaultsWriter>(world.defaults);
    auto& store = world.start();
    world.defaults->setFailsWrites(true);

    store.saveCustomPreset("Evening", 1);
    world.writer->flushPendingSaves();
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(),
              "설정을 저장하지 못했습니다: org.quorvane.Quorvane.preferences.v1");

    // What the screen showed is written once the disk takes writes again.
    world.defaults->setFailsWrites(false);
    store.setAutoApplyEnabled(false);
    world.writer->flushPendingSaves();
    EXPECT_EQ(world.savedPreferences().customPresets.size(), 1u);
    EXPECT_FALSE(world.savedPreferences().autoApplyEnabled);
}

// The way out writes what failed before; what it still cannot write is
// returned and told in the status.
TEST(DisplayStoreSaveTest, TheFlushAtQuitWritesAFailedSaveOrSaysItCouldNot) {
    StoreWorld world;
    world.writer = std::make_shared<BackgroundDefaultsWriter>(world.defaults);
    auto& store = world.start();
    world.defaults->setFailsWrites(true);
    store.saveCustomPreset("Evening", 1);
    store.setTextSize(QuorvaneTextSize::veryLarge);

    const auto unwritten = store.flushPendingSaves();
    const std::string failure = "설정을 저장하지 못했습니다: org.quorvane.Quorvane.preferences.v1";
    ASSERT_EQ(unwritten.size(), 1u);
    EXPECT_EQ(unwritten[0].key, "org.quorvane.Quorvane.preferences.v1");
    EXPECT_EQ(store.statusMessage(), failure);

    world.defaults->setFailsWrites(false);
    EXPECT_TRUE(store.flushPendingSaves().empty());
    EXPECT_EQ(world.savedPreferences().customPresets.size(), 1u);
    EXPECT_EQ(world.savedPreferences().textSize, QuorvaneTextSize::veryLarge);
}

// A record that could not be read at start (a passing read error) is not
// written over by the changes made on the defaults; once it reads again the
// changes go on top of it.
TEST(DisplayStoreSaveTest, ARecordUnreadableAtStartIsNeverWrittenOverUntilItReadsAgain) {
    const std::string key = "org.quorvane.Quorvane.preferences.v1";
    StoreWorld world;
    auto stored = QuorvanePreferences::defaults();
    stored.appearance = QuorvaneAppearance::dark;
    world.storePreferences(stored);
    world.defaults->setUnreadable(key);
    auto& store = world.start();
    const auto unreadable = store.statusMessage();
    EXPECT_NE(unreadable.find("이 파일은 덮어쓰지 않습니다"), std::string::npos);

    const auto writes = world.defaults->writeCount();
    store.setAutoApplyEnabled(false);
    store.saveCustomPreset("Evening", 1);
    EXPECT_EQ(store.statusMessage(), unreadable);
    EXPECT_EQ(world.defaults->writeCount(), writes);

    world.defaults->clearUnreadable(key);
    store.setTextSize(QuorvaneTextSize::standard);
    EXPECT_EQ(store.statusMessage(), "글자 크기: 기본");
    EXPECT_EQ(store.appearance(), QuorvaneAppearance::dark);
    const auto saved = world.savedPreferences();
    EXPECT_EQ(saved.appearance, QuorvaneAppearance::dark);
    EXPECT_EQ(saved.textSize, QuorvaneTextSize::standard);
    EXPECT_FALSE(saved.autoApplyEnabled);
    EXPECT_EQ(saved.customPresets.size(), 1u);
}

// Changes held because the record cannot be read are not dropped at quit
// without a word: the flush names them, as it names a failed write, and the
// status says so. Once the record reads, the flush writes them instead.
TEST(DisplayStoreSaveTest, TheFlushAtQuitNamesChangesHeldForAnUnreadableRecord) {
    const std::string key = "org.quorvane.Quorvane.preferences.v1";
    StoreWorld world;
    world.writer = std::make_shared<BackgroundDefaultsWriter>(world.defaults);
    world.storePreferences(QuorvanePreferences::defaults());
    world.defaults->setUnreadable(key);
    auto& store = world.start();
    store.setTextSize(QuorvaneTextSize::veryLarge);
    // What a quit that cannot wait for the store is told of.
    EXPECT_TRUE(store.mayHoldUnsavedChanges());
    const auto unwritten = store.flushPendingSaves();
    ASSERT_EQ(unwritten.size(), 1u);
    EXPECT_EQ(unwritten[0].key, key);
    ASSERT_FALSE(unwritten[0].outcome.succeeded());
    EXPECT_EQ(unwritten[0].outcome.error->kind, DefaultsStoreError::Kind::unreadable);
    EXPECT_EQ(store.statusMessage(), unwritten[0].outcome.error->description());

    world.defaults->clearUnreadable(key);
    EXPECT_TRUE(store.flushPendingSaves().empty());
    EXPECT_EQ(world.savedPreferences().textSize, QuorvaneTextSize::veryLarge);
    EXPECT_FALSE(store.mayHoldUnsavedChanges());
}

// A failed write retried after the back-off: once it is written the
// failure leaves the status line, which shows again what it replaced.
TEST(DisplayStoreSaveTest, AFailureLeavesTheStatusOnceTheRetryWritesTheChange) {
    StoreWorld world;
    world.writer = std::make_shared<BackgroundDefaultsWriter>(world.defaults, world.scheduler);
    auto& store = world.start();
    world.defaults->setFailsWrites(true);
    store.setTextSize(QuorvaneTextSize::veryLarge);
    const auto shown = store.statusMessage();
    world.writer->flushPendingSaves();
    world.scheduler->runUntilIdle();
    EXPECT_EQ(store.statusMessage(),
              "설정을 저장하지 못했습니다: org.quorvane.Quorvane.preferences.v1");

    world.defaults->setFailsWrites(false);
    world.scheduler->advance(BackgroundDefaultsWriter::kFirstRetryDelay);
    world.writer->flushPendingSaves();
    world.scheduler->runUntilIdle();
    EXPECT_EQ(world.savedPreferences().textSize, QuorvaneTextSize::veryLarge);
    EXPECT_EQ(store.statusMessage(), shown);
}

TEST(DisplayStoreSaveTest, ResettingOnPurposeWritesOverARecordUnreadableAtStart) {
    const std::string key = "org.quorvane.Quorvane.preferences.v1";
    StoreWorld world;
    world.defaults->setUnreadable(key);
    auto& store = world.start();
    world.defaults->clearUnreadable(key);
    store.resetAllSettings();
    EXPECT_EQ(store.statusMessage(), "모든 Quorvane 설정을 초기화했습니다");
    EXPECT_TRUE(world.defaults->contents().contains(key));
}

TEST(DisplayStoreSaveTest, TheFirstSaveOverAnUndecodableRecordNamesTheCopyItKept) {
    StoreWorld world;
    world.defaults->setData("org.quorvane.Quorvane.preferences.v1", R"({"appearance":"sepia"})");
    auto& store = world.start();
    // Start-up already saves (the display it selects), so the notice is there
    // from the first moment.
    EXPECT_EQ(store.statusMessage(),
              "저장된 설정을 읽지 못해 기본값으로 복구했습니다. 읽지 못한 기록은 따로 "
              "보관했습니다: org.quorvane.Quorvane.preferences.v1.json.unreadable-1");
    EXPECT_EQ(
        world.defaults->contents().at("org.quorvane.Quorvane.preferences.v1.json.unreadable-1"),
        R"({"appearance":"sepia"})");
    store.setTextSize(QuorvaneTextSize::large);
    EXPECT_EQ(store.statusMessage(), "글자 크기: 크게");
}

TEST_F(DisplayStoreSettingsTest, EachSwitchSavesAndReportsTheStateItWasGiven) {
    struct Switch {
        std::function<void(bool)> set;
        std::function<bool(const QuorvanePreferences&)> saved;
        std::string onText;
        std::string offText;
    };
    const std::vector<Switch> switches{
        {[this](bool on) { store().setAutoApplyEnabled(on); },
         [](const QuorvanePreferences& saved) { return saved.autoApplyEnabled; },
         "자동 색상 적용 켜짐", "자동 색상 적용 꺼짐"},
        {[this](bool on) { store().setURLPresetAutomationEnabled(on); },
         [](const QuorvanePreferences& saved) { return saved.urlPresetAutomationEnabled; },
         "URL 프리셋 자동화 켜짐 — 외부 링크가 저장 색상값을 적용할 수 있습니다",
         "URL 프리셋 자동화 꺼짐"},
        {[this](bool on) { store().setBrightnessSyncEnabled(on); },
         [](const QuorvanePreferences& saved) { return saved.brightnessSyncEnabled; },
         "모니터 밝기 동기화 켜짐", "모니터 밝기 동기화 꺼짐"},
    };
    // Each switch is turned against its default first, then back, so a
    // switch that ignored its argument or swapped its texts shows up.
    for (const auto& toggle : switches) {
        const bool initial = toggle.saved(world.savedPreferences());
        for (const bool on : {!initial, initial}) {
            toggle.set(on);
            EXPECT_EQ(store().statusMessage(), on ? toggle.onText : toggle.offText);
            EXPECT_EQ(toggle.saved(world.savedPreferences()), on) << toggle.onText;
        }
    }
}

TEST(DisplayStorePrivacyTokenTest, ProfileTokensKeepTheNewestTwoHundred) {
    StoreWorld world;
    world.connect({externalDisplay(1, "Studio", 1001)});
    // Profiles without a file whose id is their name: one token each, listed
    // by name, so the numbers are padded.
    auto named = [](int first, int last) {
        std::vector<DisplayColorProfile> profiles;
        for (int number = first; number <= last; ++number) {
            DisplayColorProfile profile;
            const auto digits = std::to_string(number);
            profile.id = profile.name = "Proof " + std::string(3 - digits.size(), '0') + digits;
            profiles.push_back(profile);
        }
        return profiles;
    };
    world.profiles->setProfiles(1, named(1, 200));
    auto& store = world.start();
    ASSERT_EQ(store.diagnosticPrivacyTokens().size(), 200u);
    EXPECT_EQ(store.diagnosticPrivacyTokens().front(), "Proof 001");

    // One more drops the oldest, not the newest.
    world.profiles->setProfiles(1, named(2, 201));
    store.refreshColorProfile(1);
    ASSERT_EQ(store.diagnosticPrivacyTokens().size(), 200u);
    EXPECT_EQ(store.diagnosticPrivacyTokens().front(), "Proof 002");
    EXPECT_EQ(store.diagnosticPrivacyTokens().back(), "Proof 201");
}

TEST_F(DisplayStoreSettingsTest, ObserversHearOneNoticePerOperation) {
    int notices = 0;
    const auto id = store().addChangeObserver([&notices] { ++notices; });
    store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.3; });
    EXPECT_EQ(notices, 1);
    world.scheduler->advance(seconds(8));
    EXPECT_EQ(notices, 2);
    store().removeChangeObserver(id);
    store().setTextSize(QuorvaneTextSize::standard);
    EXPECT_EQ(notices, 2);
}

}  // namespace
}  // namespace quorvane::testing
