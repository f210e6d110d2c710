#pragma once

namespace quorvane {

// The colour roles the settings window tints texts, pills and icons with;
// the theme gives each a light and a dark colour.
enum class SettingsTint {
    accent,    // the window's warm accent, also the cards' own colour
    positive,  // on, registered
    warning,   // a failure, or a switch that lets the outside in
    neutral,   // off
};

}  // namespace quorvane
