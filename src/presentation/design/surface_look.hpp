#pragma once

#include "presentation/design/color_role.hpp"

namespace quorvane {

// The two cards every window wraps its content in: the soft panel (an
// ordinary card) and the hero panel (the card at the top of a page).
enum class SurfaceKind { soft, hero };

// A drop shadow of black: its opacity, its blur radius and how far down it
// falls, in points.
struct SurfaceShadow {
    double opacity = 0.0;
    double blurRadius = 0.0;
    double offsetY = 0.0;

    bool operator==(const SurfaceShadow&) const = default;

    // The blur radius is the reach of a Gaussian whose standard deviation
    // is half of it; the shadow fades out within three of those past the
    // shape, rounded up to a whole point.
    double sigma() const { return blurRadius / 2.0; }
    int reach() const;
};

// The fill, the 1-point stroke inside the border and the shadow of a panel
// in one scheme. Dark panels keep an almost invisible shadow; light ones a
// soft blur that falls a few points down.
struct SurfaceLook {
    ColorUse fill;
    ColorUse stroke;
    SurfaceShadow shadow;

    bool operator==(const SurfaceLook&) const = default;
};

SurfaceLook surfaceLook(SurfaceKind kind, ColorScheme scheme);

// A status pill is a capsule of its tint at 11 % inside a border of it at
// 24 %; its text's colour is the caller's.
inline constexpr double kStatusPillFillOpacity = 0.11;
inline constexpr double kStatusPillBorderOpacity = 0.24;

// The tinted grounds controls stand on beside the cards: a settings action
// card's track tile (46 % light, 34 % dark), a panel slider row's track
// (55 %) and the panel recovery card's amber wash (9 % light, 14 % dark).
inline constexpr double kActionCardTileLightOpacity = 0.46;
inline constexpr double kActionCardTileDarkOpacity = 0.34;
inline constexpr ColorUse kPanelSliderRowFill{ColorRole::track, 0.55};
inline constexpr double kPanelRecoveryCardLightWash = 0.09;
inline constexpr double kPanelRecoveryCardDarkWash = 0.14;

}  // namespace quorvane
