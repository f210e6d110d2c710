#pragma once

#include "models/settings/quorvane_text_size.hpp"
#include "presentation/design/color_role.hpp"

namespace quorvane {

// The colour role of a push button or action card.
enum class QuorvaneChipProminence { neutral, accent, warning, destructive };

// A chip is a capsule as wide as its label; a tile fills its grid cell.
enum class ButtonShape { chip, tile };

// What pressing a button means beyond its colour: a destructive button
// deletes or resets something, and says so in its label whatever its
// prominence.
enum class ButtonRole { none, destructive };

// How one button is drawn in one state.
struct ButtonLook {
    ColorUse fill;
    ColorUse border;
    ColorRole text = ColorRole::primary;
    double opacity = 1.0;  // over fill, border and label together

    bool operator==(const ButtonLook&) const = default;
};

// Accent, warning and destructive fills deepen while pressed (warning and
// destructive less in dark, where their washes stay thin); a neutral button
// shows no pressed state. Disabled buttons keep their colours at 55 % with
// secondary text.
ButtonLook buttonLook(ButtonShape shape, QuorvaneChipProminence prominence, ColorScheme scheme,
                      bool pressed, bool enabled);
// The look of a button with a role: an enabled destructive button's label
// takes the destructive colour; fill and border stay the prominence's.
ButtonLook buttonLook(ButtonShape shape, QuorvaneChipProminence prominence, ButtonRole role,
                      ColorScheme scheme, bool pressed, bool enabled);

// A link-style button's text: the accent while it can be pressed, the
// secondary text colour, dimmed, once disabled, so a link that does nothing
// never looks like one that does.
ColorUse linkTextColor(bool enabled);

// chip 30, 34, 40, 46; tile 48, 48, 50, 56.
double buttonMinHeight(ButtonShape shape, QuorvaneTextSize size);

// Insets around the label: chip 11 × 5, tile 10 × 9.
struct ButtonInsets {
    double horizontal = 0;
    double vertical = 0;
};
ButtonInsets buttonInsets(ButtonShape shape);
double buttonCornerRadius(ButtonShape shape, double height);

// A frame of its own for a button whose place sets it apart from the chips
// (the panel footer's): the room around the label, the least height at
// every text size and the corner radius.
struct ButtonFrame {
    ButtonInsets insets;
    double minHeight = 0;
    double cornerRadius = 0;
};

}  // namespace quorvane
