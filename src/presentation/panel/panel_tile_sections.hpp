#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/hot_keys/scene_hot_key_binding.hpp"
#include "models/presets/display_preset.hpp"
#include "models/presets/display_scene.hpp"
#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The panel shows only the first few work modes and presets; the main
// window holds the rest.
inline constexpr std::size_t kPanelShownTileCount = 3;

struct PanelTile {
    std::string id;
    std::string name;
    std::string kindCaption;  // "기본" or "사용자"
    std::optional<std::string> helpText;

    bool operator==(const PanelTile&) const = default;
};

struct PanelShowAllButton {
    std::string title;  // "전체 7개 보기"
    std::string helpText;

    bool operator==(const PanelShowAllButton&) const = default;
};

// The work-mode strip or the preset grid: a header, up to three tiles and a
// note below them.
struct PanelTileSection {
    std::string title;
    std::optional<PanelShowAllButton> showAll;  // only when more than three exist
    std::vector<PanelTile> tiles;
    std::optional<std::string> note;

    bool operator==(const PanelTileSection&) const = default;
};

// Built-in items first, then the user's, cut to the shown count: the items a
// tile tap applies, in tile order.
std::vector<DisplayScene> panelShownScenes(const std::vector<DisplayScene>& customScenes);
std::vector<DisplayPreset> panelShownPresets(const std::vector<DisplayPreset>& customPresets);

PanelTileSection panelSceneStrip(const std::vector<DisplayScene>& customScenes,
                                 bool sceneHotKeysEnabled,
                                 const std::vector<SceneHotKeyBinding>& bindings);
PanelTileSection panelPresetGrid(const std::vector<DisplayPreset>& customPresets);

// One work-mode tile; its tooltip warns when the mode also holds monitor
// steps, which the panel never runs.
PanelTile panelSceneTile(const DisplayScene& scene);

// Columns of the preset grid: fewer as the text grows, one at the largest.
int panelPresetGridColumns(QuorvaneTextSize size);

// The enabled bindings' labels, at most three, with " 외" when more exist.
std::string panelSceneHotKeyHelpText(const std::vector<SceneHotKeyBinding>& bindings);

}  // namespace quorvane
