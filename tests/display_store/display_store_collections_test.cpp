#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_control_error.hpp"

namespace quorvane::testing {
namespace {

const DisplayPreset& builtInPreset(std::string_view id) {
    for (const auto& preset : DisplayPreset::builtIns()) {
        if (preset.id == id)
            return preset;
    }
    throw std::out_of_range("no such preset");
}

const DisplayScene& builtInScene(std::string_view id) {
    for (const auto& scene : DisplayScene::builtIns()) {
        if (scene.id == id)
            return scene;
    }
    throw std::out_of_range("no such scene");
}

TEST(DisplayStorePresetTest, ApplyingWithCorrectionOffSavesOnly) {
    StoreWorld world;
    auto& store = world.start();
    store.setSoftwareColorCorrectionEnabled(false);
    store.applyPreset(builtInPreset("night"), 1);
    EXPECT_EQ(store.statusMessage(), "프리셋 저장됨: Night · 화면 색감 보정 꺼짐: 저장만 함");
    EXPECT_EQ(store.colorAdjustment(1), builtInPreset("night").adjustment);
    EXPECT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    EXPECT_EQ(store.recentChangeRecoveryPrompt()->message,
              "Studio의 프리셋 변경을 이전 Quorvane 색상값으로 되돌립니다.");
}

TEST(DisplayStorePresetTest, SavingTrimsTheNameAndDeletingReportsTheName) {
    StoreWorld world;
    auto& store = world.start();
    store.saveCustomPreset(" \t ", 1);
    EXPECT_EQ(store.statusMessage(), "프리셋 이름을 입력하세요");
    store.saveCustomPreset("  Evening\n", 42);  // not connected: neutral
    EXPECT_EQ(world.savedPreferences().customPresets.at(0).adjustment, ColorAdjustment::neutral());
    store.deleteCustomPreset(builtInPreset("coding"));
    EXPECT_EQ(store.statusMessage(), "커스텀 프리셋 저장됨: Evening");
    store.deleteCustomPreset(store.customPresets()[0]);
    EXPECT_EQ(store.statusMessage(), "커스텀 프리셋 삭제됨: Evening");
    EXPECT_TRUE(world.savedPreferences().customPresets.empty());
}

class DisplayStoreSceneTest : public ::testing::Test {
  protected:
    DisplayStore& startWith(std::vector<DisplaySnapshot> displays) {
        world.connect(std::move(displays));
        return world.start();
    }
    StoreWorld world;
};

TEST_F(DisplayStoreSceneTest, OneDisplayGetsTheSceneWithPromptAndJournal) {
    auto& store = startWith({externalDisplay(1, "Studio", 1001)});
    store.applyScene(builtInScene("work"), 1);
    EXPECT_EQ(store.statusMessage(), "씬 적용됨: Work (1개 디스플레이)");
    EXPECT_EQ(store.colorAdjustment(1), *builtInScene("work").fallbackAdjustment);
    const auto& entry = store.recoveryJournal().entries.front();
    EXPECT_EQ(entry.status, QuorvaneRecoveryJournalStatus::applied);
    EXPECT_EQ(entry.actionTitle, "작업 모드");
    EXPECT_EQ(entry.detail, "씬 적용됨: Work (1개 디스플레이)");
    EXPECT_EQ(store.recentChangeRecoveryPrompt()->title, "방금 변경을 되돌릴 수 있어요");

    store.setSoftwareColorCorrectionEnabled(false);
    store.applyScene(builtInScene("night"), 1);
    EXPECT_EQ(store.statusMessage(),
              "씬 저장됨: Night (1개 디스플레이) · 화면 색감 보정 꺼짐: 저장만 함");
}

TEST_F(DisplayStoreSceneTest, AmbiguousDisplaysAreSkippedAndCounted) {
    auto displays = identicalTwins(1, 2);
    displays.push_back(externalDisplay(3, "Studio", 1001, 3840));
    auto& store = startWith(displays);
    store.applySceneToVisibleDisplays(builtInScene("meeting"));
    EXPECT_EQ(store.statusMessage(),
              "씬 적용됨: Meeting (1개 디스플레이) · 구분 불확실 2개 건너뜀");
    EXPECT_EQ(store.recoveryJournal().entries.front().status,
              QuorvaneRecoveryJournalStatus::partial);
    EXPECT_EQ(store.colorAdjustments().size(), 1u);
    EXPECT_EQ(world.gamma->tables(1), std::nullopt);
}

TEST_F(DisplayStoreSceneTest, OnlyAmbiguousDisplaysGiveASkippedEntryListingEveryDisplay) {
    const auto twins = identicalTwins(1, 2);
    auto& store = startWith(twins);
    DisplayScene scene{"mine", "Mine", ItemKind::custom, std::nullopt, {}, {}};
    scene.softwareAdjustmentsByDisplayIdentity[rawIdentity(twins[0])] = ColorAdjustment::neutral();
    scene.hardwareActions.push_back({});
    store.applySceneToVisibleDisplays(scene);
    EXPECT_EQ(store.statusMessage(),
              "동일하게 보이는 모니터 2개는 작업 모드 자동 적용을 건너뜁니다 · 모니터 자체 동작은 "
              "자동 적용하지 않았습니다");
    const auto& entry = store.recoveryJournal().entries.front();
    EXPECT_EQ(entry.status, QuorvaneRecoveryJournalStatus::skipped);
    EXPECT_EQ(entry.targets.size(), 2u);
    EXPECT_FALSE(store.recentChangeRecoveryPrompt().has_value());
}

TEST_F(DisplayStoreSceneTest, ASceneWithoutValuesForTheTargetIsBlocked) {
    auto& store = startWith({externalDisplay(1, "Studio", 1001)});
    store.saveCustomScene("  Desk  ");
    EXPECT_EQ(store.statusMessage(), "커스텀 씬 저장됨: Desk");
    const auto desk = store.customScenes().front();

    world.connect({externalDisplay(2, "Other", 2002)});
    store.refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    store.applyScene(desk, 2);
    EXPECT_EQ(store.statusMessage(), "이 디스플레이에 적용할 씬 색상값이 없습니다");
    EXPECT_EQ(store.recoveryJournal().entries.front().status,
              QuorvaneRecoveryJournalStatus::blocked);
    EXPECT_EQ(store.recoveryJournal().entries.front().targets.size(), 1u);

    store.applySceneToVisibleDisplays(desk);
    EXPECT_EQ(store.statusMessage(), "연결된 디스플레이에 적용할 씬 색상값이 없습니다");
    EXPECT_TRUE(store.recoveryJournal().entries.front().targets.empty());
    EXPECT_FALSE(store.recentChangeRecoveryPrompt().has_value());
}

// A group none of whose members can take the scene is refused for its own
// reason: members without values for the scene are "no values" even when
// twins are among them; twins the scene covers are the look-alike refusal;
// a group with nobody connected says so.
TEST_F(DisplayStoreSceneTest, AGroupWithoutAUsableMemberIsRefusedForItsReason) {
    const auto studio = externalDisplay(1, "Studio", 1001);
    const auto twins = identicalTwins(3, 4);
    auto& store = startWith({studio, twins[0], twins[1]});
    DisplayScene sideOnly{"mine", "Mine", ItemKind::custom, std::nullopt, {}, {}};
    sideOnly.softwareAdjustmentsByDisplayIdentity[rawIdentity(externalDisplay(2, "Side", 2002))] =
        ColorAdjustment::neutral();
    struct Case {
        DisplayGroup group;
        DisplayScene scene;
        std::string status;
        QuorvaneRecoveryJournalStatus journal;
        std::string detail;
        std::size_t targets;
    };
    const std::vector<Case> cases = {
        {{"g1", "Desk", ItemKind::custom, {rawIdentity(studio), rawIdentity(twins[0])}},
         sideOnly,
         "이 그룹에 적용할 씬 색상값이 없습니다: Desk",
         QuorvaneRecoveryJournalStatus::blocked,
         "그룹 화면 중 이 작업 모드에 맞는 저장값을 찾지 못했습니다.",
         3},
        {{"g2", "Pair", ItemKind::custom, {rawIdentity(twins[0])}},
         builtInScene("work"),
         "동일하게 보이는 모니터 2개는 작업 모드 자동 적용을 건너뜁니다: Pair",
         QuorvaneRecoveryJournalStatus::skipped,
         "그룹 안의 구분이 불확실한 화면에는 작업 모드를 자동 적용하지 않았습니다.",
         2},
        {{"g3", "Gone", ItemKind::custom, {rawIdentity(externalDisplay(2, "Side", 2002))}},
         builtInScene("work"),
         "그룹에 연결된 디스플레이가 없습니다: Gone",
         QuorvaneRecoveryJournalStatus::blocked,
         "그룹에 현재 연결된 화면이 없어 변경하지 않았습니다.",
         0},
    };
    for (const auto& refused : cases) {
        store.applyScene(refused.scene, refused.group);
        EXPECT_EQ(store.statusMessage(), refused.status);
        const auto& entry = store.recoveryJournal().entries.front();
        EXPECT_EQ(entry.status, refused.journal) << refused.status;
        EXPECT_EQ(entry.actionTitle, "그룹 작업 모드");
        EXPECT_EQ(entry.summary, refused.status);
        EXPECT_EQ(entry.detail, refused.detail);
        EXPECT_EQ(entry.targets.size(), refused.targets) << refused.status;
    }
    EXPECT_TRUE(store.colorAdjustments().empty());
    for (const DisplayID id : {1u, 3u, 4u})
        EXPECT_EQ(world.gamma->tables(id), std::nullopt) << id;
    EXPECT_FALSE(store.recentChangeRecoveryPrompt().has_value());
}

TEST_F(DisplayStoreSceneTest, AFailedDisplayMakesThePartialEntryCarryTheStatus) {
    auto& store = startWith({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002)});
    world.gamma->setFailure(2, DisplayControlError::coreGraphics(7));
    auto scene = builtInScene("work");
    scene.hardwareActions.push_back({});
    store.applySceneToVisibleDisplays(scene);
    const std::string status =
        "일부 씬 색상 적용 실패: Side · 모니터 자체 동작은 자동 적용하지 않았습니다";
    EXPECT_EQ(store.statusMessage(), status);
    EXPECT_EQ(store.recoveryJournal().entries.front().status,
              QuorvaneRecoveryJournalStatus::partial);
    EXPECT_EQ(store.recoveryJournal().entries.front().detail, status);
    EXPECT_EQ(store.recentChangeRecoveryPrompt()->targets.size(), 1u);
    // The failed display's value stays saved.
    EXPECT_EQ(world.savedPreferences().displayAdjustments.size(), 2u);
    EXPECT_TRUE(world.writeQueue->held.empty());
}

TEST(DisplayStoreGroupTest, IdenticalMonitorsMakeOneMemberAndDeletingTheSyncGroupClearsIt) {
    StoreWorld world;
    world.connect(identicalTwins(1, 2));
    auto& store = world.start();
    store.saveDisplayGroup("Pair");
    store.saveDisplayGroup("Other");
    ASSERT_EQ(store.customDisplayGroups().size(), 2u);
    EXPECT_EQ(store.customDisplayGroups()[0].displayIdentityRawValues.size(), 1u);

    const auto pair = store.customDisplayGroups()[0];
    store.setBrightnessSyncGroupID(pair.id);
    store.deleteCustomDisplayGroup(store.customDisplayGroups()[1]);
    EXPECT_EQ(store.brightnessSyncGroupID(), pair.id);
    store.deleteCustomDisplayGroup(pair);
    EXPECT_EQ(store.statusMessage(), "디스플레이 그룹 삭제됨: Pair");
    EXPECT_FALSE(store.brightnessSyncGroupID().has_value());
    EXPECT_FALSE(world.savedPreferences().brightnessSyncGroupID.has_value());
    EXPECT_TRUE(world.savedPreferences().customDisplayGroups.empty());

    store.saveDisplayGroup("\n");
    EXPECT_EQ(store.statusMessage(), "그룹 이름을 입력하세요");
}

// Names are labels, not keys: two entries may share one, and deleting one of
// them takes only that entry, from the list and from the record alike.
class DisplayStoreNamesakeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 2002, 1920)});
        world.start();
        store().updateColorAdjustment(1, &ColorAdjustment::warmth, 0.4);
    }
    DisplayStore& store() { return *world.store; }

    StoreWorld world;
};

TEST_F(DisplayStoreNamesakeTest, DeletingOneOfTwoPresetsOfOneNameKeepsTheOther) {
    store().saveCustomPreset("Evening", 1);
    store().updateColorAdjustment(1, &ColorAdjustment::warmth, -0.3);
    store().saveCustomPreset("Evening", 1);
    ASSERT_EQ(store().customPresets().size(), 2u);
    const auto first = store().customPresets()[0];
    const auto second = store().customPresets()[1];
    ASSERT_NE(first.id, second.id);

    store().deleteCustomPreset(second);
    EXPECT_EQ(store().statusMessage(), "커스텀 프리셋 삭제됨: Evening");
    EXPECT_EQ(store().customPresets(), std::vector<DisplayPreset>{first});
    EXPECT_EQ(world.savedPreferences().customPresets, std::vector<DisplayPreset>{first});
    EXPECT_DOUBLE_EQ(store().customPresets()[0].adjustment.warmth, 0.4);
}

TEST_F(DisplayStoreNamesakeTest, DeletingOneOfTwoScenesOfOneNameKeepsTheOther) {
    store().saveCustomScene("Desk");
    store().updateColorAdjustment(2, &ColorAdjustment::contrast, 1.3);
    store().saveCustomScene("Desk");
    ASSERT_EQ(store().customScenes().size(), 2u);
    const auto first = store().customScenes()[0];
    const auto second = store().customScenes()[1];

    store().deleteCustomScene(first);
    EXPECT_EQ(store().statusMessage(), "커스텀 씬 삭제됨: Desk");
    EXPECT_EQ(store().customScenes(), std::vector<DisplayScene>{second});
    EXPECT_EQ(world.savedPreferences().customScenes, std::vector<DisplayScene>{second});
}

TEST_F(DisplayStoreNamesakeTest, DeletingOneOfTwoGroupsOfOneNameKeepsTheOtherAndItsSync) {
    store().saveDisplayGroup("Pair");
    store().saveDisplayGroup("Pair");
    ASSERT_EQ(store().customDisplayGroups().size(), 2u);
    const auto first = store().customDisplayGroups()[0];
    const auto second = store().customDisplayGroups()[1];
    // Same name, same members: only the id tells them apart.
    ASSERT_EQ(first.displayIdentityRawValues, second.displayIdentityRawValues);
    store().setBrightnessSyncGroupID(second.id);

    store().deleteCustomDisplayGroup(first);
    EXPECT_EQ(store().statusMessage(), "디스플레이 그룹 삭제됨: Pair");
    EXPECT_EQ(store().customDisplayGroups(), std::vector<DisplayGroup>{second});
    EXPECT_EQ(world.savedPreferences().customDisplayGroups, std::vector<DisplayGroup>{second});
    EXPECT_EQ(store().brightnessSyncGroupID(), second.id);
    EXPECT_EQ(world.savedPreferences().brightnessSyncGroupID, second.id);
}

}  // namespace
}  // namespace quorvane::testing
