#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/settings/settings_import_entry.hpp"
#include "presentation/settings/settings_recovery_actions.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane::testing {
namespace {

class SettingsImportEntryTest : public ::testing::Test {
  protected:
    DisplayStore& store() { return *world.store; }

    // A draft from a file whose displays are the studio, the twins' shared
    // identity and a monitor this computer never saw.
    QuorvaneSettingsImportDraft draft() const {
        auto preferences = QuorvanePreferences::defaults();
        preferences.displayAdjustments[rawIdentity(studio)].warmth = 0.3;
        preferences.displayAdjustments[rawIdentity(twins[0])].contrast = 1.1;
        preferences.displayAdjustments["display-elsewhere"].softwareBrightness = 0.8;
        return QuorvaneSettingsImportDraft::of(preferences);
    }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    std::vector<DisplaySnapshot> twins = identicalTwins(2, 3);
};

TEST_F(SettingsImportEntryTest, OnlyAnUnambiguousIdentityStartsLinkedTheRestStartSkipped) {
    world.connect({studio, twins[0], twins[1]});
    world.start();
    const auto targets = initialImportTargets(draft(), store().displays());
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets.at(rawIdentity(studio)), rawIdentity(studio));
    EXPECT_EQ(targets.at(rawIdentity(twins[0])), kSkipImportTarget);
    EXPECT_EQ(targets.at("display-elsewhere"), kSkipImportTarget);
}

TEST_F(SettingsImportEntryTest, CancelReportsButEscapeOnlyClosesAndConfirmLeavesTheStoresText) {
    world.start();
    store().setStatusMessage("이전 상태");
    SettingsWindowState state{std::nullopt, draft()};
    dismissSettingsImport(state);
    EXPECT_FALSE(state.settingsImportDraft.has_value());
    EXPECT_EQ(store().statusMessage(), "이전 상태");

    state.settingsImportDraft = draft();
    std::optional<bool> draftWhenReported;
    store().addChangeObserver([&] {
        if (!draftWhenReported)
            draftWhenReported = state.settingsImportDraft.has_value();
    });
    cancelSettingsImport(store(), state);
    EXPECT_EQ(draftWhenReported, false);
    EXPECT_EQ(store().statusMessage(), "설정 가져오기를 취소했습니다");

    state.settingsImportDraft = draft();
    confirmSettingsImport(store(), state, QuorvaneSettingsImportMode::globalOnly, {}, false);
    EXPECT_FALSE(state.settingsImportDraft.has_value());
    EXPECT_EQ(store().statusMessage(),
              "공통 설정 가져오기 완료 — 현재 디스플레이 색상값은 그대로 유지했습니다");
}

TEST_F(SettingsImportEntryTest, TheLocalHotKeyStateIsFullyFilledIn) {
    world.start();
    EXPECT_EQ(localHotKeyImportState(store()),
              (QuorvaneLocalHotKeyImportState{false, true, "Super+Shift+L"}));
}

class FullResetTest : public SettingsImportEntryTest {
  protected:
    void SetUp() override {
        auto preferences = QuorvanePreferences::defaults();
        preferences.urlPresetAutomationEnabled = true;
        preferences.emergencyRecoveryHotKeyEnabled = false;
        world.storePreferences(preferences);
        world.start();
    }
    QuorvaneDestructiveConfirmationCoordinator confirmations{*world.scheduler};
};

TEST_F(FullResetTest, TwoPressesAskOnceAndOneConfirmationResetsOnce) {
    requestFullReset(confirmations, store());
    const auto firstRequest = confirmations.pending()->id;
    requestFullReset(confirmations, store());
    EXPECT_EQ(confirmations.pending()->id, firstRequest);
    EXPECT_EQ(confirmations.pending()->copy.confirmButtonTitle, "전체 설정 초기화");
    EXPECT_TRUE(store().urlPresetAutomationEnabled());

    int resets = 0;
    store().addChangeObserver([&] {
        if (store().statusMessage() == "모든 Quorvane 설정을 초기화했습니다")
            ++resets;
    });
    confirmations.confirmPending();
    confirmations.confirmPending();
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(store().urlPresetAutomationEnabled());
    EXPECT_TRUE(store().emergencyRecoveryHotKeyEnabled());
}

TEST_F(FullResetTest, CancellingResetsNothingAndSaysNothing) {
    store().setStatusMessage("이전 상태");
    requestFullReset(confirmations, store());
    confirmations.setConfirmationPresented(false);
    world.scheduler->runUntilIdle();
    EXPECT_FALSE(confirmations.pending().has_value());
    EXPECT_EQ(store().statusMessage(), "이전 상태");
    EXPECT_TRUE(store().urlPresetAutomationEnabled());
}

}  // namespace
}  // namespace quorvane::testing
