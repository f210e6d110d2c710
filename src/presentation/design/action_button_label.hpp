#pragma once

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// How the symbol tile and the title of an action button line up: centred
// on each other, or the title's first line on the line the symbol stands on
// (a title of two lines then hangs below the tile instead of around it).
enum class ActionLabelAlignment { centred, firstBaseline };

// The label of an action card's button (settings cards, the recovery page):
// a symbol tile of its own size beside a title of at most two lines, inside
// the chip's insets. The title never pushes the button out of its card: it
// wraps, and past its second line it is cut.
struct ActionButtonLabel {
    double symbolTileSide = 28;
    double spacing = 8;
    int titleLineLimit = 2;
    ActionLabelAlignment alignment = ActionLabelAlignment::centred;

    bool operator==(const ActionButtonLabel&) const = default;
};

// The settings window's action cards.
inline constexpr ActionButtonLabel kActionButtonLabel{};
// The recovery page's action cards.
inline constexpr ActionButtonLabel kBaselineActionButtonLabel{
    .alignment = ActionLabelAlignment::firstBaseline};

// The chip's height for a label `labelHeight` high (the tile and the title
// as they line up): at least the tile inside the chip's insets, never below
// the chip's least height for the text size.
double actionButtonHeight(const ActionButtonLabel& label, QuorvaneTextSize size,
                          double labelHeight);

// The width the title may take in a chip `buttonWidth` wide (never negative).
double actionButtonTitleWidth(const ActionButtonLabel& label, double buttonWidth);

}  // namespace quorvane
