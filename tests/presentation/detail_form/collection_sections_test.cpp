#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/detail_form/groups_section.hpp"
#include "presentation/detail_form/new_entry_name.hpp"
#include "presentation/detail_form/presets_section.hpp"
#include "presentation/detail_form/scenes_section.hpp"

namespace quorvane::testing {
namespace {

struct CollectionWorld {
    CollectionWorld() {
        world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 1002, 1920)});
        world.start();
    }
    DisplayStore& store() { return *world.store; }

    StoreWorld world;
    QuorvaneDestructiveConfirmationCoordinator confirmations{*world.scheduler};
};

TEST(NewEntryNameTest, BlankNamesCannotBeSavedAndTheFieldEmptiesWhateverTheStoreSays) {
    EXPECT_TRUE(NewEntryName::saveDisabled(" \n\t "));
    EXPECT_FALSE(NewEntryName::saveDisabled(" 야간 "));

    CollectionWorld w;
    std::string name = "  야간 작업  ";
    ScenesSection::save(w.store(), name);
    EXPECT_EQ(name, "");
    ASSERT_EQ(w.store().customScenes().size(), 1u);
    // The store got the name as typed and trimmed it itself.
    EXPECT_EQ(w.store().customScenes()[0].name, "야간 작업");

    // A save the store refuses (blank) still empties the field.
    name = "   ";
    ScenesSection::save(w.store(), name);
    EXPECT_EQ(name, "");
    EXPECT_EQ(w.store().statusMessage(), "씬 이름을 입력하세요");
    EXPECT_EQ(w.store().customScenes().size(), 1u);
}

TEST(NewEntryNameTest, AFailedGroupSaveWithoutDisplaysStillClearsTheName) {
    StoreWorld world;
    world.connect({});
    auto& store = world.start();
    std::string name = "책상";
    EXPECT_TRUE(GroupsSection::saveDisabled(store, name));
    GroupsSection::save(store, name);
    EXPECT_EQ(name, "");
    EXPECT_TRUE(store.customDisplayGroups().empty());
    EXPECT_FALSE(store.statusMessage().empty());
}

TEST(ScenesSectionTest, SubtitlesAndDeletableRows) {
    CollectionWorld w;
    std::string name = "두 화면";
    ScenesSection::save(w.store(), name);
    const auto section = ScenesSection::make(w.store(), 1);
    ASSERT_EQ(section.rows.size(), DisplayScene::builtIns().size() + 1);
    EXPECT_FALSE(section.rows.front().deletable);
    EXPECT_EQ(section.rows.front().subtitle, "기본 작업 모드 · 기본 색상값 포함 · 화면 색감만");
    EXPECT_TRUE(section.rows.back().deletable);
    EXPECT_EQ(section.rows.back().subtitle,
              "사용자 작업 모드 · 2개 디스플레이 저장값 · 화면 색감만");
    EXPECT_TRUE(section.groups.empty());

    DisplayScene steps = section.rows.back().scene;
    steps.hardwareActions.resize(1);
    EXPECT_EQ(ScenesSection::subtitle(w.store(), steps, 1),
              "사용자 작업 모드 · 2개 디스플레이 저장값 · 모니터 자체 동작 보관 · 자동 실행 안 함");
}

TEST(ScenesSectionTest, DeleteActsOnTheSceneOfTheClickAndOnlyOneRequestAtATime) {
    CollectionWorld w;
    for (const char* typed : {"첫째", "둘째"}) {
        std::string name = typed;
        ScenesSection::save(w.store(), name);
    }
    const auto first = w.store().customScenes()[0];
    const auto second = w.store().customScenes()[1];
    ScenesSection::requestDelete(w.store(), w.confirmations, first);
    ScenesSection::requestDelete(w.store(), w.confirmations, second);  // dropped
    EXPECT_EQ(w.confirmations.pending()->copy.title, "‘첫째’ 작업 모드를 삭제할까요?");
    // Built-in scenes are never offered for deletion.
    w.confirmations.confirmPending();
    ASSERT_EQ(w.store().customScenes().size(), 1u);
    EXPECT_EQ(w.store().customScenes()[0].name, "둘째");
    ScenesSection::requestDelete(w.store(), w.confirmations, DisplayScene::builtIns()[0]);
    EXPECT_FALSE(w.confirmations.pending());
}

TEST(GroupsSectionTest, ScopeSubtitleAndDeletion) {
    CollectionWorld w;
    std::string name = "책상";
    GroupsSection::save(w.store(), name);
    const auto group = w.store().customDisplayGroups().at(0);

    GroupsSection::chooseScope(w.store(), group.id);
    auto section = GroupsSection::make(w.store());
    EXPECT_EQ(section.selectedScope, group.id);
    EXPECT_EQ(section.scopeOptions[0].tag, "");
    EXPECT_EQ(section.rows[0].subtitle, "2개 저장됨 · 2개 연결됨 · 밝기 동기화 범위");

    GroupsSection::chooseScope(w.store(), "");
    EXPECT_EQ(w.store().brightnessSyncGroupID(), std::nullopt);
    EXPECT_EQ(w.store().statusMessage(), "밝기 동기화 범위: 모든 디스플레이");

    // One monitor gone: still listed, fewer connected.
    w.world.connect({externalDisplay(1, "Studio", 1001)});
    w.store().refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    EXPECT_EQ(GroupsSection::make(w.store()).rows[0].subtitle, "2개 저장됨 · 1개 연결됨");

    GroupsSection::requestDelete(w.store(), w.confirmations, group);
    EXPECT_EQ(w.confirmations.pending()->copy.confirmButtonTitle, "모니터 묶음 삭제");
    w.confirmations.confirmPending();
    EXPECT_TRUE(GroupsSection::make(w.store()).rows.empty());
}

TEST(PresetsSectionTest, SaveUsesThisDisplayAndDeleteOnlyUserPresets) {
    CollectionWorld w;
    w.store().updateColorAdjustment(2, [](ColorAdjustment& a) { a.redGain = 1.5; });
    std::string name = "오른쪽 따뜻하게";
    PresetsSection::save(w.store(), name, 2);
    EXPECT_EQ(name, "");
    ASSERT_EQ(w.store().customPresets().size(), 1u);
    EXPECT_DOUBLE_EQ(w.store().customPresets()[0].adjustment.redGain, 1.5);

    const auto section = PresetsSection::make(w.store());
    EXPECT_EQ(section.rows.front().kindLabel, "기본 프리셋");
    EXPECT_FALSE(section.rows.front().deletable);
    EXPECT_EQ(section.rows.back().kindLabel, "사용자 프리셋");
    EXPECT_TRUE(section.rows.back().deletable);

    PresetsSection::requestDelete(w.store(), w.confirmations, section.rows.front().preset);
    EXPECT_FALSE(w.confirmations.pending());
    PresetsSection::requestDelete(w.store(), w.confirmations, section.rows.back().preset);
    w.confirmations.confirmPending();
    EXPECT_TRUE(w.store().customPresets().empty());
}

}  // namespace
}  // namespace quorvane::testing
