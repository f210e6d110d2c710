#pragma once

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The label of an action card's button (settings cards, the recovery page):
// a symbol tile of its own size beside a title of at most two lines, the two
// centred on each other, inside the chip's insets. The title never pushes
// the button out of its card: it wraps, and past its second line it is cut.
struct ActionButtonLabel {
    double symbolTileSide = 28;
    double spacing = 8;
    int titleLineLimit = 2;

    bool operator==(const ActionButtonLabel&) const = default;
};

inline constexpr ActionButtonLabel kActionButtonLabel{};

// The chip's height for a title `titleHeight` high: the taller of the tile
// and the title inside the chip's insets, never below the chip's least
// height for the text size.
double actionButtonHeight(const ActionButtonLabel& label, QuorvaneTextSize size,
                          double titleHeight);

// The width the title may take in a chip `buttonWidth` wide (never negative).
double actionButtonTitleWidth(const ActionButtonLabel& label, double buttonWidth);

}  // namespace quorvane
