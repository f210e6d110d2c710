#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/settings/appearance_card_texts.hpp"
#include "presentation/settings/behavior_card_model.hpp"
#include "presentation/settings/settings_status_strip.hpp"
#include "presentation/settings/shortcuts_card_model.hpp"

namespace quorvane::testing {
namespace {

// BadAccess: another X client already grabs the chord.
constexpr std::int32_t kXBadAccess = 10;

class SettingsCardsTest : public ::testing::Test {
  protected:
    DisplayStore& start(const std::function<void(QuorvanePreferences&)>& edit = {}) {
        auto preferences = QuorvanePreferences::defaults();
        if (edit)
            edit(preferences);
        world.storePreferences(preferences);
        return world.start();
    }
    StoreWorld world;
};

TEST_F(SettingsCardsTest, TheStatusStripFollowsTheAppearanceAndAutoApply) {
    auto& store = start();
    auto tiles = settingsStatusTiles(store.appearance(), store.autoApplyEnabled());
    EXPECT_EQ(tiles[0].value, "시스템");
    EXPECT_EQ(tiles[1].value, "켜짐");
    EXPECT_EQ(tiles[1].tint, ColorRole::green);

    store.setAppearance(QuorvaneAppearance::dark);
    store.setAutoApplyEnabled(false);
    tiles = settingsStatusTiles(store.appearance(), store.autoApplyEnabled());
    EXPECT_EQ(tiles[0].value, "다크");
    EXPECT_EQ(tiles[1].value, "꺼짐");
    EXPECT_EQ(tiles[1].tint, ColorRole::mutedInk);
    EXPECT_EQ(tiles[2].value, "미리보기");
}

TEST_F(SettingsCardsTest, TheTextSizeDetailNamesThisPlatform) {
    EXPECT_EQ(textSizeDetail(QuorvaneTextSize::standard), "시스템 기본 크기에 가깝게 표시합니다.");
}

TEST_F(SettingsCardsTest, BehaviourSwitchesGoThroughTheStoreAndRecolourTheirPills) {
    auto& store = start();
    auto url = behaviorRow(store, BehaviorSetting::urlPresetAutomation);
    EXPECT_EQ(url.status, "꺼짐 · 외부 링크는 차단");
    EXPECT_EQ(url.statusTint, ColorRole::mutedInk);
    EXPECT_EQ(behaviorCardTint(store), ColorRole::green);
    EXPECT_FALSE(behaviorRow(store, BehaviorSetting::autoApply).status.has_value());

    setBehavior(store, BehaviorSetting::urlPresetAutomation, true);
    url = behaviorRow(store, BehaviorSetting::urlPresetAutomation);
    EXPECT_TRUE(url.isOn);
    EXPECT_EQ(url.status, "외부 링크 적용 허용");
    EXPECT_EQ(url.statusTint, ColorRole::warning);
    EXPECT_TRUE(world.savedPreferences().urlPresetAutomationEnabled);

    setBehavior(store, BehaviorSetting::autoApply, false);
    EXPECT_EQ(behaviorCardTint(store), ColorRole::accent);
    EXPECT_EQ(store.statusMessage(), "자동 색상 적용 꺼짐");

    // The sync pill says the same whichever way the switch stands.
    const auto syncOff = behaviorRow(store, BehaviorSetting::brightnessSync);
    setBehavior(store, BehaviorSetting::brightnessSync, true);
    const auto syncOn = behaviorRow(store, BehaviorSetting::brightnessSync);
    EXPECT_EQ(syncOff.status, syncOn.status);
    EXPECT_NE(syncOff.isOn, syncOn.isOn);
}

TEST_F(SettingsCardsTest, WithBothFamiliesOffBothLinesAreOffAndNoBindingListShows) {
    auto& store = start([](QuorvanePreferences& p) { p.emergencyRecoveryHotKeyEnabled = false; });
    const auto card = ShortcutsCardModel::of(store);
    EXPECT_EQ(card.emergency.status, "꺼짐");
    EXPECT_EQ(card.scenes.status, "꺼짐");
    EXPECT_EQ(card.emergency.statusTint, ColorRole::mutedInk);
    EXPECT_EQ(card.cardTint, ColorRole::accent);
    EXPECT_FALSE(card.showsBindingList);
    EXPECT_TRUE(card.bindings.empty());
}

TEST_F(SettingsCardsTest, RegisteredKeysReadWithTheirLinuxLabels) {
    auto& store = start();
    store.setSceneHotKeysEnabled(true);
    const auto card = ShortcutsCardModel::of(store);
    EXPECT_EQ(card.emergency.status, "Super+Shift+L · 등록됨");
    EXPECT_EQ(card.emergency.statusTint, ColorRole::green);
    EXPECT_EQ(card.scenes.status, "5개 등록됨");
    ASSERT_EQ(card.bindings.size(), 5u);
    EXPECT_EQ(card.bindings[0].combinationLabel, "Ctrl+Alt+Super+1");
    EXPECT_EQ(card.bindings[0].sceneName, sceneName(store.sceneHotKeyBindings()[0].sceneID, {}));
}

TEST_F(SettingsCardsTest, KeysTheXServerRefusedTurnTheLinesAndTheCardToWarning) {
    const auto bindings = SceneHotKeyBinding::defaultBindings();
    world.registrar->refuse(bindings[0].combination, kXBadAccess);
    world.registrar->refuse(bindings[1].combination, kXBadAccess);
    auto& store = start([](QuorvanePreferences& p) { p.sceneHotKeysEnabled = true; });
    auto card = ShortcutsCardModel::of(store);
    EXPECT_EQ(card.scenes.status, "3개 등록됨 · 2개 실패");
    EXPECT_EQ(card.scenes.statusTint, ColorRole::warning);
    EXPECT_EQ(card.emergency.statusTint, ColorRole::green);
    EXPECT_EQ(card.cardTint, ColorRole::warning);

    world.registrar->refuse(HotKeyCombination::defaultEmergencyRecovery(), kXBadAccess);
    store.setSceneHotKeysEnabled(false);
    card = ShortcutsCardModel::of(store);
    EXPECT_EQ(card.emergency.status, "등록 실패 · Super+Shift+L");
    EXPECT_EQ(card.emergency.statusTint, ColorRole::warning);
    EXPECT_EQ(card.scenes.status, "꺼짐");
    EXPECT_EQ(card.cardTint, ColorRole::warning);
    EXPECT_EQ(store.statusMessage(),
              "전역 단축키: 0개 등록, 1개 실패 — Super+Shift+L 등록 실패(10)");
}

TEST_F(SettingsCardsTest, TintsTakeFailuresBeforeTheSwitch) {
    GlobalHotKeyRegistrationSummary failedWhileOff{
        1, 0, {{"emergency-recovery", "Super+Shift+L", 10}}, false};
    EXPECT_EQ(hotKeyStatusTint(failedWhileOff, false), ColorRole::warning);
    EXPECT_EQ(emergencyHotKeyRegistrationText(failedWhileOff,
                                              HotKeyCombination::defaultEmergencyRecovery()),
              "꺼짐");
    // Nothing to register: the summary is off while the switch is on, so the
    // "off" text shows in the registered colour.
    const GlobalHotKeyRegistrationSummary nothingRegistered{0, 0, {}, false};
    EXPECT_EQ(sceneHotKeyRegistrationText(nothingRegistered), "꺼짐");
    EXPECT_EQ(hotKeyStatusTint(nothingRegistered, true), ColorRole::green);
    EXPECT_EQ(shortcutTint({}, failedWhileOff), ColorRole::warning);
}

TEST_F(SettingsCardsTest, SceneNamesPreferBuiltInsAndNameTheUnknown) {
    const auto& builtIn = DisplayScene::builtIns().front();
    DisplayScene shadow = builtIn;
    shadow.name = "내 작업";
    DisplayScene own = builtIn;
    own.id = "mine";
    own.name = "내 작업";
    EXPECT_EQ(sceneName(builtIn.id, {shadow}), builtIn.name);
    EXPECT_EQ(sceneName("mine", {shadow, own}), "내 작업");
    EXPECT_EQ(sceneName("Mine", {own}), "알 수 없는 작업 모드");
}

}  // namespace
}  // namespace quorvane::testing
