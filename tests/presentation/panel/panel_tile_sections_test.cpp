#include "presentation/panel/panel_tile_sections.hpp"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

SceneHotKeyBinding binding(const std::string& key, bool enabled) {
    return {"scene-" + key, key, enabled,
            HotKeyCombination(18, key, {HotKeyModifier::control, HotKeyModifier::option})};
}

DisplayPreset customPreset(const std::string& name) {
    DisplayPreset preset;
    preset.id = "id-" + name;
    preset.name = name;
    return preset;
}

TEST(PanelTileSections, BuiltInItemsComeFirstAndOnlyThreeShow) {
    const auto presets = panelShownPresets({customPreset("내 프리셋")});
    ASSERT_EQ(presets.size(), 3u);
    for (std::size_t i = 0; i < presets.size(); ++i)
        EXPECT_EQ(presets[i].id, DisplayPreset::builtIns()[i].id);

    const auto grid = panelPresetGrid({customPreset("a"), customPreset("b")});
    EXPECT_EQ(grid.tiles.size(), 3u);
    EXPECT_EQ(grid.tiles[0].kindCaption, "기본");
    ASSERT_TRUE(grid.showAll);
    EXPECT_EQ(grid.showAll->title, "전체 7개 보기");  // built-in plus custom
    EXPECT_TRUE(grid.note.has_value());
}

TEST(PanelTileSections, TheWorkModeStripCountsCustomModesInItsShowAllButton) {
    DisplayScene custom;
    custom.id = "custom-scene";
    custom.name = "내 작업";
    const auto strip = panelSceneStrip({custom, custom}, false, {});
    ASSERT_TRUE(strip.showAll);
    EXPECT_EQ(strip.showAll->title,
              "전체 " + std::to_string(DisplayScene::builtIns().size() + 2) + "개 보기");
    ASSERT_EQ(strip.tiles.size(), 3u);
    EXPECT_EQ(strip.tiles[0].id, DisplayScene::builtIns()[0].id);
}

TEST(PanelTileSections, AWorkModeWithMonitorStepsWarnsThatOnlyColourIsApplied) {
    DisplayScene scene;
    scene.id = "custom-scene";
    scene.name = "내 작업";
    EXPECT_EQ(panelSceneTile(scene).helpText,
              "현재 연결된 모든 디스플레이에 화면 색감 값만 적용합니다.");
    EXPECT_EQ(panelSceneTile(scene).kindCaption, "사용자");
    scene.hardwareActions.push_back({});
    EXPECT_EQ(panelSceneTile(scene).helpText,
              "화면 색감만 적용합니다. 저장된 모니터 자체 동작은 실행하지 않습니다.");
}

TEST(PanelTileSections, PresetColumnsShrinkAsTheTextGrows) {
    EXPECT_EQ(panelPresetGridColumns(QuorvaneTextSize::standard), 3);
    EXPECT_EQ(panelPresetGridColumns(QuorvaneTextSize::large), 3);
    EXPECT_EQ(panelPresetGridColumns(QuorvaneTextSize::extraLarge), 2);
    EXPECT_EQ(panelPresetGridColumns(QuorvaneTextSize::veryLarge), 1);
}

TEST(PanelTileSections, HotKeyNoteListsTheFirstThreeEnabledKeys) {
    std::vector<SceneHotKeyBinding> bindings{binding("1", true), binding("2", false),
                                             binding("3", true), binding("4", true),
                                             binding("5", true), binding("6", true)};
    EXPECT_EQ(panelSceneHotKeyHelpText(bindings),
              "전역 작업 모드 단축키: Ctrl+Alt+1, Ctrl+Alt+3, Ctrl+Alt+4 외");
    // Exactly three enabled: no " 외".
    bindings.resize(4);
    EXPECT_EQ(panelSceneHotKeyHelpText(bindings),
              "전역 작업 모드 단축키: Ctrl+Alt+1, Ctrl+Alt+3, Ctrl+Alt+4");
    EXPECT_EQ(panelSceneHotKeyHelpText({binding("1", false)}),
              "전역 작업 모드 단축키가 켜져 있지만 활성화된 키가 없습니다.");
    // With the switch off the strip explains where the mode goes instead.
    EXPECT_EQ(panelSceneStrip({}, false, bindings).note,
              "선택한 작업 모드는 현재 연결된 모든 화면의 앱 색감에 적용됩니다.");
    EXPECT_EQ(panelSceneStrip({}, true, bindings).note, panelSceneHotKeyHelpText(bindings));
}

}  // namespace
}  // namespace quorvane
