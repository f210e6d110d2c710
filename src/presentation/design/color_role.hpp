#pragma once

#include <cstdint>

#include "models/settings/quorvane_appearance.hpp"

namespace quorvane {

// The scheme a window is drawn in. Anything not dark draws the light column.
enum class ColorScheme { light, dark };

// Every colour a window uses, by role: the twelve roles of the warm paper
// palette and the inset surface (cards laid inside a panel, a shade between
// the surface and the window background), then the desktop-style named
// colours for status tints and secondary text.
enum class ColorRole {
    windowBackground,
    accent,
    surface,
    surfaceBorder,
    heroBorder,
    accentFill,
    ink,
    mutedInk,
    track,
    warning,
    destructive,
    green,
    insetSurface,
    // Named colours: ordinary text, secondary text and the status tints.
    primary,
    secondary,
    systemGreen,
    systemOrange,
    systemRed,
    systemBlue,
};

// An opaque sRGB colour in 8-bit components; opacities are applied by each use.
struct Rgb8 {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb8&) const = default;
};

Rgb8 colorValue(ColorRole role, ColorScheme scheme);

// A role at an opacity, as most uses name their colours.
struct ColorUse {
    ColorRole role = ColorRole::primary;
    double opacity = 1.0;

    bool operator==(const ColorUse&) const = default;
};

// The hint an empty text field shows: ordinary text at a third of its
// strength, well below the secondary text of labels in either scheme.
inline constexpr ColorUse kPlaceholderText{ColorRole::primary, 0.36};

// The scheme the windows draw in: a forced choice wins; following the system
// takes the desktop's preference, and an unknown preference counts as light.
ColorScheme effectiveScheme(QuorvaneAppearance appearance, ColorScheme systemScheme);

// Picks the light or the dark value of a pair.
template <class T>
T bySchemePair(ColorScheme scheme, T light, T dark) {
    return scheme == ColorScheme::dark ? dark : light;
}

}  // namespace quorvane
