#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/display/display_identity_descriptor.hpp"

namespace quorvane::testing {
namespace {

using Mapping = QuorvaneSettingsImportDisplayMapping;
using ImportMode = QuorvaneSettingsImportMode;

Mapping mapping(std::string imported, std::optional<std::string> target) {
    return {std::move(imported), std::move(target), std::nullopt, std::nullopt};
}

class DisplayStoreImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.connect({studio, side});
        world.start();
        store().updateColorAdjustment(1, [](ColorAdjustment& value) { value.gamma = 1.3; });
        warm.warmth = 0.7;

        // A file from another computer: its left monitor was selected and
        // has a colour value and an alias; its second monitor a value only.
        QuorvanePreferences file;
        file.displayAdjustments = {{"file-left", warm}, {"file-right", ColorAdjustment::neutral()}};
        file.displayAliasesByKey = {{"file-left", " Left desk "}};
        file.lastSelectedDisplayIdentity = "file-left";
        draft = QuorvaneSettingsImportDraft::of(file);
    }

    DisplayStore& store() { return *world.store; }

    StoreWorld world;
    DisplaySnapshot studio = externalDisplay(1, "Studio", 1001);
    DisplaySnapshot side = externalDisplay(2, "Side", 2002, 1920);
    ColorAdjustment warm = ColorAdjustment::neutral();
    QuorvaneSettingsImportDraft draft;
};

TEST_F(DisplayStoreImportTest, TheSwitchMovesTheSelectionAwayFromAConnectedDisplay) {
    ASSERT_EQ(store().selectedDisplayID(), 1u);
    const std::vector<Mapping> mappings = {mapping("file-left", rawIdentity(side)),
                                           mapping("file-right", std::nullopt)};
    store().confirmSettingsImport(draft, ImportMode::fullWithDisplayMapping, mappings, true);

    EXPECT_EQ(store().statusMessage(),
              "설정 가져오기 완료 — 1개 디스플레이 색상값을 연결했습니다. 자동 적용은 다음 명시적 "
              "새로고침 때 실행됩니다");
    EXPECT_EQ(store().selectedDisplayID(), 2u);
    const auto saved = world.savedPreferences();
    EXPECT_EQ(saved.lastSelectedDisplayIdentity, rawIdentity(side));
    EXPECT_EQ(saved.displayAdjustments,
              (std::map<std::string, ColorAdjustment>{{rawIdentity(side), warm}}));
    EXPECT_EQ(store().displayAliasesByKey().at(DisplayIdentityDescriptorBuilder::aliasKey(side)),
              "Left desk");

    // Nothing reaches the screen before the next explicit refresh.
    EXPECT_FALSE(world.gamma->tables(2).has_value());
    store().refresh(DisplayStore::RefreshIntent::explicitUserRefresh);
    world.scheduler->runUntilIdle();
    EXPECT_EQ(world.midRed(2), world.midRed(warm));
}

TEST_F(DisplayStoreImportTest, WithoutTheSwitchOrInGlobalModeTheSelectionStays) {
    const std::vector<Mapping> mappings = {mapping("file-left", rawIdentity(side))};
    store().confirmSettingsImport(draft, ImportMode::fullWithDisplayMapping, mappings, false);
    EXPECT_EQ(store().selectedDisplayID(), 1u);
    EXPECT_EQ(world.savedPreferences().lastSelectedDisplayIdentity, rawIdentity(studio));

    const auto values = store().colorAdjustments();
    store().confirmSettingsImport(draft, ImportMode::globalOnly, mappings, true);
    EXPECT_EQ(store().statusMessage(),
              "공통 설정 가져오기 완료 — 현재 디스플레이 색상값은 그대로 유지했습니다");
    EXPECT_EQ(store().selectedDisplayID(), 1u);
    EXPECT_EQ(store().colorAdjustments(), values);
}

}  // namespace
}  // namespace quorvane::testing
