#pragma once

#include <array>

#include "presentation/design/color_role.hpp"
#include "presentation/settings/settings_toggle_row.hpp"

namespace quorvane {

class DisplayStore;

// The four switches of the "기본 동작" card, in card order.
enum class BehaviorSetting {
    autoApply,
    urlPresetAutomation,
    softwareColorCorrection,
    brightnessSync
};

inline constexpr std::array<BehaviorSetting, 4> kAllBehaviorSettings = {
    BehaviorSetting::autoApply, BehaviorSetting::urlPresetAutomation,
    BehaviorSetting::softwareColorCorrection, BehaviorSetting::brightnessSync};

// The row of one switch as the store's flags stand now.
SettingsToggleRow behaviorRow(const DisplayStore& store, BehaviorSetting setting);
// The card's icon: positive while saved colours are re-applied, else accent.
ColorRole behaviorCardTint(const DisplayStore& store);
// A flipped switch: the store's own setter, nothing else.
void setBehavior(DisplayStore& store, BehaviorSetting setting, bool enabled);

}  // namespace quorvane
