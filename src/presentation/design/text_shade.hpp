#pragma once

#include <vector>

#include "presentation/design/color_role.hpp"

namespace quorvane {

// The least contrast a text needs against what it is drawn on.
inline constexpr double kReadableTextContrast = 4.5;
// What a colour is taken to read at before it is trusted to: the grounds are
// worked out as the painter lays them, but a card's faint shadow under its
// 2 % of see-through can still darken or lighten one a step.
inline constexpr double kReadableTextAllowance = 0.05;

// How far apart two opaque colours read, from 1 (the same) to 21 (black on
// white), by their relative luminance.
double contrastRatio(Rgb8 first, Rgb8 second);

// `top` laid over the opaque `under`, rounded as a painter blends it.
Rgb8 laidOver(ColorUse top, ColorScheme scheme, Rgb8 under);

// The opaque grounds a window lays things on.
enum class PageGround {
    window,   // the window's own background
    card,     // a soft or hero panel on it
    control,  // anywhere a control stands: the window, a card, an inset card,
              // a settings action card's tile, the panel's slider rows and
              // its recovery card
};

// What a text in a colour of its own stands on: washes, bottom first, laid
// over each ground of `page`.
struct TextGround {
    PageGround page = PageGround::card;
    std::vector<ColorUse> washes;

    bool operator==(const TextGround&) const = default;
};

// Every colour `ground` shows under a text.
std::vector<Rgb8> groundColors(const TextGround& ground, ColorScheme scheme);

// The colour of a text or symbol drawn in `role` on `grounds`: the role's own
// colour where it reads at 4.5:1 (and the allowance) on every one of them,
// otherwise the shade of its hue nearest to it that does (hue and saturation
// kept, lighter in dark, deeper in light). Where no shade of the hue reads,
// the furthest one.
Rgb8 textColorValue(ColorRole role, ColorScheme scheme, const std::vector<Rgb8>& grounds);
Rgb8 textColorValue(ColorRole role, ColorScheme scheme, const TextGround& ground);

}  // namespace quorvane
