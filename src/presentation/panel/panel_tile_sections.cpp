#include "presentation/panel/panel_tile_sections.hpp"

#include "models/coding/number_format.hpp"
#include "models/coding/text_joining.hpp"

namespace quorvane {

namespace {

template <class Item>
std::vector<Item> firstShown(const std::vector<Item>& builtIns, const std::vector<Item>& custom) {
    std::vector<Item> shown;
    for (const auto* list : {&builtIns, &custom})
        for (const Item& item : *list) {
            if (shown.size() == kPanelShownTileCount)
                return shown;
            shown.push_back(item);
        }
    return shown;
}

std::string kindCaption(ItemKind kind) {
    return kind == ItemKind::builtIn ? "기본" : "사용자";
}

std::optional<PanelShowAllButton> showAllButton(std::size_t fullCount, const char* helpText) {
    if (fullCount <= kPanelShownTileCount)
        return std::nullopt;
    return PanelShowAllButton{
        "전체 " + formatDecimal(static_cast<std::uint64_t>(fullCount)) + "개 보기", helpText};
}

}  // namespace

std::vector<DisplayScene> panelShownScenes(const std::vector<DisplayScene>& customScenes) {
    return firstShown(DisplayScene::builtIns(), customScenes);
}

std::vector<DisplayPreset> panelShownPresets(const std::vector<DisplayPreset>& customPresets) {
    return firstShown(DisplayPreset::builtIns(), customPresets);
}

PanelTileSection panelSceneStrip(const std::vector<DisplayScene>& customScenes,
                                 bool sceneHotKeysEnabled,
                                 const std::vector<SceneHotKeyBinding>& bindings) {
    PanelTileSection section;
    section.title = "작업 모드 · 모든 화면";
    section.showAll = showAllButton(DisplayScene::builtIns().size() + customScenes.size(),
                                    "큰 창에서 모든 작업 모드를 확인하고 관리합니다.");
    for (const DisplayScene& scene : panelShownScenes(customScenes))
        section.tiles.push_back(panelSceneTile(scene));
    section.note = sceneHotKeysEnabled
                       ? panelSceneHotKeyHelpText(bindings)
                       : "선택한 작업 모드는 현재 연결된 모든 화면의 앱 색감에 적용됩니다.";
    return section;
}

PanelTile panelSceneTile(const DisplayScene& scene) {
    return {scene.id, scene.name, kindCaption(scene.kind),
            scene.hardwareActions.empty()
                ? "현재 연결된 모든 디스플레이에 화면 색감 값만 적용합니다."
                : "화면 색감만 적용합니다. 저장된 모니터 자체 동작은 실행하지 않습니다."};
}

PanelTileSection panelPresetGrid(const std::vector<DisplayPreset>& customPresets) {
    PanelTileSection section;
    section.title = "프리셋";
    section.showAll = showAllButton(DisplayPreset::builtIns().size() + customPresets.size(),
                                    "큰 창에서 모든 프리셋을 저장·적용·관리합니다.");
    for (const DisplayPreset& preset : panelShownPresets(customPresets))
        section.tiles.push_back({preset.id, preset.name, kindCaption(preset.kind), std::nullopt});
    if (section.showAll)
        section.note = "메뉴에는 자주 쓰는 3개만 보입니다. 전체 관리는 큰 창에서 이어집니다.";
    return section;
}

int panelPresetGridColumns(QuorvaneTextSize size) {
    switch (size) {
        case QuorvaneTextSize::standard:
        case QuorvaneTextSize::large:
            return 3;
        case QuorvaneTextSize::extraLarge:
            return 2;
        case QuorvaneTextSize::veryLarge:
            return 1;
    }
    return 3;
}

std::string panelSceneHotKeyHelpText(const std::vector<SceneHotKeyBinding>& bindings) {
    std::vector<std::string> labels;
    bool more = false;
    for (const SceneHotKeyBinding& binding : bindings) {
        if (!binding.enabled)
            continue;
        if (labels.size() == kPanelShownTileCount) {
            more = true;
            break;
        }
        labels.push_back(binding.combination.displayLabel());
    }
    if (labels.empty())
        return "전역 작업 모드 단축키가 켜져 있지만 활성화된 키가 없습니다.";
    return "전역 작업 모드 단축키: " + joined(labels, ", ") + (more ? " 외" : "");
}

}  // namespace quorvane
