#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "models/hot_keys/global_hot_key_registration_summary.hpp"
#include "models/hot_keys/hot_key_combination.hpp"
#include "models/presets/display_scene.hpp"
#include "presentation/design/color_role.hpp"
#include "presentation/settings/settings_toggle_row.hpp"

namespace quorvane {

class DisplayStore;

// The "단축키" card: the emergency and scene hot-key switches with what the
// desktop actually registered at the last registration, and one row per
// scene binding while scene hot keys are on. Texts come from the last
// registration's summaries, tints from failures first and the switch second.
struct ShortcutsCardModel {
    struct BindingRow {
        std::string bindingID;
        std::string sceneName;
        std::string combinationLabel;  // "Ctrl+Alt+Super+1"
        bool enabled = false;

        bool operator==(const BindingRow&) const = default;
    };

    ColorRole cardTint = ColorRole::accent;
    SettingsToggleRow emergency;
    SettingsToggleRow scenes;
    // Only while scene hot keys are switched on; in stored order.
    bool showsBindingList = false;
    std::vector<BindingRow> bindings;

    static ShortcutsCardModel of(const DisplayStore& store);

    bool operator==(const ShortcutsCardModel&) const = default;
};

// "꺼짐", "<label> · 등록됨" or "등록 실패 · <label>".
std::string emergencyHotKeyRegistrationText(const GlobalHotKeyRegistrationSummary& summary,
                                            const HotKeyCombination& combination);
// "꺼짐", "<n>개 등록됨" or "<n>개 등록됨 · <m>개 실패".
std::string sceneHotKeyRegistrationText(const GlobalHotKeyRegistrationSummary& summary);
// Warning when the family's last registration failed anywhere, else
// positive while its switch is on, else neutral.
ColorRole hotKeyStatusTint(const GlobalHotKeyRegistrationSummary& summary, bool switchOn);
// Warning when either family failed, else the card's own accent.
ColorRole shortcutTint(const GlobalHotKeyRegistrationSummary& emergency,
                       const GlobalHotKeyRegistrationSummary& scenes);
// The name of the first built-in, then custom, scene with exactly this id;
// "알 수 없는 작업 모드" when none has it.
std::string sceneName(std::string_view sceneID, const std::vector<DisplayScene>& customScenes);

}  // namespace quorvane
