#pragma once

#include <array>
#include <string>

#include "models/settings/quorvane_appearance.hpp"
#include "presentation/design/color_role.hpp"

namespace quorvane {

// One tile of the strip under the settings window's hero.
struct SettingsStatusTile {
    std::string title;
    std::string value;   // one line at most
    std::string detail;  // two lines at most
    ColorRole tint = ColorRole::accent;

    bool operator==(const SettingsStatusTile&) const = default;
};

// A tile's value keeps to one line and its detail to two; longer texts end
// in "…" rather than growing the strip.
inline constexpr int kStatusTileValueLines = 1;
inline constexpr int kStatusTileDetailLines = 2;

// The three tiles, in order: the colour scheme, auto-apply, and the
// reminder that an import only previews until confirmed.
std::array<SettingsStatusTile, 3> settingsStatusTiles(QuorvaneAppearance appearance,
                                                      bool autoApplyEnabled);

}  // namespace quorvane
